#pragma once
// When a block of encoded text can be read the simple way. In a block that
// starts at a group's start, the group-by-group walk reads every 96 and 146
// as a prefix and every other character as a value as long as each 96
// stands where a first value is due, each 146 where a second is due, and
// no prefix follows a prefix. The values are then just the non-prefix
// characters taken in pairs, those after a prefix less 34. Masks have one
// bit per character of a 64-character block, character 0 in bit 0.

#include <cstdint>

namespace orvelin::codec {

// Bit j set when bits 0 .. j-1 of `bits` hold an odd number of ones.
inline std::uint64_t parityBefore(std::uint64_t bits) {
    bits ^= bits << 1;
    bits ^= bits << 2;
    bits ^= bits << 4;
    bits ^= bits << 8;
    bits ^= bits << 16;
    bits ^= bits << 32;
    return bits << 1;
}

// The prefixes that break the simple reading, given where the 96s
// (`firstPrefixes`) and the 146s (`secondPrefixes`) stand.
inline std::uint64_t misplacedPrefixes(std::uint64_t firstPrefixes, std::uint64_t secondPrefixes) {
    const std::uint64_t prefixes = firstPrefixes | secondPrefixes;
    const std::uint64_t secondDue = parityBefore(~prefixes);
    return (prefixes & (prefixes << 1)) | (firstPrefixes & secondDue) | (secondPrefixes & ~secondDue);
}

// The characters before position `length` (1..64).
inline std::uint64_t firstCharacters(std::uint64_t length) {
    return length >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;
}

}  // namespace orvelin::codec
