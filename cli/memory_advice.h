#pragma once
// Large buffers are first touched page by page; on Linux, asking for huge
// pages turns hundreds of thousands of page faults into a few hundred, which
// is most of the companion's run time on a large text.

#include <cstddef>

namespace orvelin::cli {

// A hint only: does nothing where huge pages are unknown or refused.
void preferHugePages(const void* data, std::size_t size);

}  // namespace orvelin::cli
