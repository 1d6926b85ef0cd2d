// libFuzzer entry point for the round trip target.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvelin::fuzz::roundTripTarget(data, size);
    return 0;
}
