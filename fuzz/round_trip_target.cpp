#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_targets.h"

#include "codec/codec.h"
#include "tests/codec/reference_codec.h"

#include <string>

namespace orvelin::fuzz {

namespace {

void roundTrip(const FuzzInput& input) {
    std::string encoded;
    const codec::Outcome outcome = codec::encode(input.text, input.code, encoded);
    if (input.text.empty()) {
        require(outcome == codec::Outcome::EmptyText, "empty text not refused");
        return;
    }
    require(outcome == codec::Outcome::Ok, "encoding refused");
    require(encoded.size() >= 2 * input.text.size() + 1 &&
                encoded.size() <= codec::maxEncodedSize(input.text.size()),
            "encoded length out of bounds");

    std::string literal;
    reference::encode(std::string(input.text), std::string(input.code), literal);
    require(encoded == literal, "encoding differs from the reference");

    std::string decoded;
    require(codec::decode(encoded, input.code, decoded) == codec::Outcome::Ok, "decoding refused");
    require(decoded == input.text, "round trip changed the text");
}

}  // namespace

void roundTripTarget(const std::uint8_t* data, std::size_t size) {
    FuzzInput input;
    if (!splitInput(data, size, input)) return;
    // Both the vector kernels (where the processor has them) and the
    // portable loops.
    for (bool vector : {true, false}) {
        const KernelChoice choice(vector);
        roundTrip(input);
    }
}

}  // namespace orvelin::fuzz
