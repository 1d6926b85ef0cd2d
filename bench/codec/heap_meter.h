#pragma once
// Counts the heap bytes the benchmark binary holds, to tell how much memory
// a coding call needs beyond its output.

#include <cstddef>

namespace orvelin::bench {

// The most heap bytes held at once since the last reset, counted from the
// reset.
class HeapPeak {
public:
    HeapPeak();
    std::size_t bytes() const;

private:
    std::size_t start_;
};

}  // namespace orvelin::bench
