#include "codec/codec.h"
#include "codec/format.h"
#include "codec/input_check.h"
#include "codec/kernel_choice.h"
#include "codec/output_overlap.h"
#include "codec/position_table.h"
#include "codec/vector_kernels.h"

#include <algorithm>
#include <cstring>

namespace orvelin::codec {

namespace {

constexpr std::size_t kChunk = 4096;  // decoded characters per round

struct CheckPart {
    std::size_t bodyLength;
    std::int32_t expected;  // negative when a damaged text ends in a prefix and 0..33
};

// Either prefix before the last character marks a two-character check part,
// whatever the digest's parity. For a one-character text the character
// before the last reads as 0.
CheckPart locateCheckPart(const unsigned char* text, std::size_t size) {
    const int beforeLast = size >= 2 ? text[size - 2] : 0;
    const int last = text[size - 1];
    if (format::isPrefix(beforeLast)) return {size - 2, last - format::kEscapeShift};
    return {size - 1, last};
}

bool passesCheck(const unsigned char* text, const CheckPart& part) {
    return text[0] * text[part.bodyLength / 2] % format::kPairBase == part.expected;
}

struct Group {
    std::int32_t first;   // -34..255
    std::int32_t second;  // -34..255
    std::size_t width;
};

// Reads the group at `at` from four characters known to be readable. Only
// 96 opens an escaped first value and only 146 an escaped second one. The
// branches let the processor run ahead to the next group; arithmetic
// without them makes every group wait for the previous one's width.
inline Group readGroup(const unsigned char* at) {
    Group group{at[0], at[1], 2};
    if (group.first == format::kFirstPrefix) {
        group.first = at[1] - format::kEscapeShift;
        group.second = at[2];
        group.width = 3;
    }
    if (group.second == format::kSecondPrefix) {
        group.second = at[group.width] - format::kEscapeShift;
        group.width += 1;
    }
    return group;
}

// Near the end, characters past the text read as 0.
inline Group readGroupAt(const unsigned char* text, std::size_t size, std::size_t i) {
    if (i + 4 <= size) return readGroup(text + i);
    unsigned char padded[4] = {0, 0, 0, 0};
    std::memcpy(padded, text + i, size - i);
    return readGroup(padded);
}

template <std::int32_t CodeLength, bool OddDigest>
inline unsigned char plainCharacter(const Group& group, std::int32_t positionAndDigest) {
    const std::int32_t v = OddDigest ? group.first * format::kPairBase + group.second
                                     : group.second * format::kPairBase + group.first;
    // Two truncating divisions by L equal one by L * L; a damaged text can
    // make the dividend negative, and only the low 8 bits are kept.
    return static_cast<unsigned char>((v - positionAndDigest) / (CodeLength * CodeLength));
}

// Walks the body group by group; the vector kernel, where there is one,
// takes whole blocks of well-formed groups in between.
template <std::int32_t CodeLength, bool OddDigest>
void appendPlain(const unsigned char* text, std::size_t size, std::size_t bodyLength,
                 std::int32_t digest, std::string& out) {
    const PositionTable positions(digest);
    [[maybe_unused]] const bool vectorKernels = vectorKernelsEnabled();
    unsigned char buffer[kChunk + vector::kOutputSlack];
    std::size_t i = 0;
    std::size_t period = 0;
    while (i < bodyLength) {
        std::size_t written = 0;
        while (i < bodyLength && written < kChunk) {
#if ORVELIN_CODEC_HAS_VECTOR_KERNELS
            if (vectorKernels) {
                vector::DecodeProgress progress{i, period, written};
                vector::decodeBlocks(text, bodyLength, positions.values, CodeLength * CodeLength,
                                     OddDigest, buffer, kChunk, progress);
                i = progress.position;
                period = progress.period;
                written = progress.written;
            }
#endif
            // Past a damaged block the vector kernel takes over again soon.
            const std::size_t stop = std::min(bodyLength, i + 64);
            while (i < stop && written < kChunk) {
                const Group group = readGroupAt(text, size, i);
                buffer[written++] = plainCharacter<CodeLength, OddDigest>(group, positions.values[period]);
                period = advancePeriod(period, 1);
                i += group.width;
            }
        }
        out.append(reinterpret_cast<const char*>(buffer), written);
    }
}

template <std::int32_t CodeLength>
void appendPlainFor(bool oddDigest, const unsigned char* text, std::size_t size,
                    std::size_t bodyLength, std::int32_t digest, std::string& out) {
    if (oddDigest)
        appendPlain<CodeLength, true>(text, size, bodyLength, digest, out);
    else
        appendPlain<CodeLength, false>(text, size, bodyLength, digest, out);
}

// The division by a constant L * L is much cheaper than by a variable.
void appendBodyPlain(std::size_t codeLength, const unsigned char* text, std::size_t size,
                     std::size_t bodyLength, std::int32_t digest, std::string& out) {
    const bool odd = digest % 2 != 0;
    switch (codeLength) {
    case 6: return appendPlainFor<6>(odd, text, size, bodyLength, digest, out);
    case 7: return appendPlainFor<7>(odd, text, size, bodyLength, digest, out);
    case 8: return appendPlainFor<8>(odd, text, size, bodyLength, digest, out);
    case 9: return appendPlainFor<9>(odd, text, size, bodyLength, digest, out);
    default: return appendPlainFor<10>(odd, text, size, bodyLength, digest, out);
    }
}

}  // namespace

Outcome decode(std::string_view text, std::string_view code, std::string& out) {
    const Outcome outcome = checkInput(text, code);
    if (outcome != Outcome::Ok) return outcome;
    const auto* encoded = reinterpret_cast<const unsigned char*>(text.data());
    const CheckPart part = locateCheckPart(encoded, text.size());
    if (!passesCheck(encoded, part)) return Outcome::NotEncoded;
    if (viewsInto(text, out)) {
        std::string fresh;
        decode(text, code, fresh);
        out.swap(fresh);
        return Outcome::Ok;
    }
    out.clear();
    // Every group is at least two characters long.
    out.reserve(part.bodyLength / 2 + 1);
    appendBodyPlain(code.size(), encoded, text.size(), part.bodyLength, KeyDigest(code), out);
    return Outcome::Ok;
}

}  // namespace orvelin::codec
