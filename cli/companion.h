#pragma once

namespace orvelin::cli {

// The whole of orvelin-codec: returns its exit status.
int runCompanion(int argc, const char* const* argv);

}  // namespace orvelin::cli
