#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_targets.h"

#include "codec/codec.h"
#include "tests/codec/reference_codec.h"

#include <string>

namespace orvelin::fuzz {

void decodeTarget(const std::uint8_t* data, std::size_t size) {
    FuzzInput input;
    if (!splitInput(data, size, input)) return;
    std::string literal = "untouched";
    const codec::Outcome expected =
        reference::decode(std::string(input.text), std::string(input.code), literal);
    // Both the vector kernels (where the processor has them) and the
    // portable loops.
    for (bool vector : {true, false}) {
        const KernelChoice choice(vector);
        std::string fast = "untouched";
        const codec::Outcome outcome = codec::decode(input.text, input.code, fast);
        require(outcome == expected, "decode outcome differs from the reference");
        require(fast == literal, "decoded text differs from the reference");
        if (outcome == codec::Outcome::Ok)
            require(fast.size() <= input.text.size() / 2 + 1, "more characters than groups");
    }
}

}  // namespace orvelin::fuzz
