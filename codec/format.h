#pragma once
// The building blocks of the encoded form shared by the encoder and the
// decoder: which values are escaped and how, and the per-position term.

#include <cstddef>
#include <cstdint>

namespace orvelin::codec::format {

// An escaped value is written as a prefix and the value plus kEscapeShift.
// The prefix says which half of a pair follows.
constexpr unsigned char kFirstPrefix = 96;
constexpr unsigned char kSecondPrefix = 146;
constexpr int kEscapeShift = 34;

// Control characters, the space and a few values that do not survive
// plain-text handling (and the two prefixes themselves).
constexpr bool isEscaped(int value) {
    return value <= 32 || value == 96 || value == 127 || value == 146 ||
           value == 152 || value == 160;
}

constexpr bool isPrefix(int value) {
    return value == kFirstPrefix || value == kSecondPrefix;
}

// Pair values are split by 255 into quotient and remainder.
constexpr int kPairBase = 255;

// The position term (p mod 15) * 1000 + (p mod 26) repeats every
// lcm(15, 26) = 390 positions.
constexpr std::size_t kPositionPeriod = 390;

constexpr std::int32_t positionTerm(std::size_t position) {
    return static_cast<std::int32_t>((position % 15) * 1000 + position % 26);
}

// Largest pair value any code of 6..10 characters can produce:
// position term 14025, character term 255 * 10 * 10, digest at most
// 255 * 9 * 9 + 255 * 10.
constexpr std::int32_t kMaxPairValue = 14025 + 25500 + 23205;

}  // namespace orvelin::codec::format
