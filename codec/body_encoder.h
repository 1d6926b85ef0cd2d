#pragma once
// Encoding piece by piece, for texts too large to hold whole: the body of any
// run of input positions, and the check part once the whole body is known.
// encode() in codec.h is built from the same two steps.

#include "codec/group_table.h"
#include "codec/position_table.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvelin::codec {

class BodyEncoder {
public:
    // The code must be 6..10 characters long (checkInput() says so first).
    explicit BodyEncoder(std::string_view code);

    // The groups of input positions firstPosition .. firstPosition + n - 1,
    // written to `out`, which must have room for 4 * n bytes (nothing is
    // written past them). Returns the number of bytes written.
    std::size_t encodeBody(const unsigned char* in, std::size_t n, std::size_t firstPosition,
                           unsigned char* out) const;

    // The check part for a body whose first byte is `first` and whose byte
    // at (body length) div 2 is `middle`: 1 or 2 bytes, written to `out`.
    std::size_t appendCheckPart(unsigned char first, unsigned char middle, unsigned char* out) const;

    static constexpr std::size_t kMaxCheckPartSize = 2;

private:
    std::int32_t digest_;
    std::int32_t squaredLength_;
    bool oddDigest_;
    const GroupTable& groups_;
    PositionTable positions_;
    std::int32_t characterTerm_[256];
};

}  // namespace orvelin::codec
