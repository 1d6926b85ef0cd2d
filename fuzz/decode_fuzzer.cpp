// libFuzzer entry point for the decode target.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvelin::fuzz::decodeTarget(data, size);
    return 0;
}
