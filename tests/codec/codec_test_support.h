#pragma once
// Helpers shared by the codec tests: byte strings, codes of a chosen length
// and digest parity, random texts.

#include "codec/codec.h"
#include "codec/text_codec.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace orvelin::codec_test {

inline std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

inline std::vector<int> values(const std::string& s) {
    std::vector<int> v;
    for (char c : s) v.push_back(static_cast<unsigned char>(c));
    return v;
}

// A code of `length` characters whose digest has the given parity. Changing
// the second character by one flips the parity of the digit sum and so of
// the digest, since the middle character is never the second one.
inline std::string codeWithParity(std::size_t length, bool odd) {
    std::string code;
    for (std::size_t i = 0; i < length; ++i) code.push_back(static_cast<char>('k' + 3 * i));
    if ((codec::KeyDigest(code) % 2 != 0) != odd) code[1] = static_cast<char>(code[1] + 1);
    return code;
}

// Every value 1..255 once, in a shuffled order fixed by the seed.
inline std::string allNonZeroValues(std::uint32_t seed) {
    std::string text;
    for (int v = 1; v <= 255; ++v) text.push_back(static_cast<char>(v));
    std::mt19937 random(seed);
    std::shuffle(text.begin(), text.end(), random);
    return text;
}

inline std::string randomBytes(std::mt19937& random, std::size_t size, int low = 0, int high = 255) {
    std::uniform_int_distribution<int> value(low, high);
    std::string s;
    for (std::size_t i = 0; i < size; ++i) s.push_back(static_cast<char>(value(random)));
    return s;
}

// Records the boxes the codec asks its owner to show.
class RecordingOwner : public codec::MessageOwner {
public:
    void showCodecMessage(const codec::Rejection& rejection) override { shown.push_back(rejection); }
    std::vector<codec::Rejection> shown;
};

}  // namespace orvelin::codec_test
