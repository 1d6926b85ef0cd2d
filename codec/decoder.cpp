#include "codec/codec.h"
#include "codec/format.h"
#include "codec/input_check.h"
#include "codec/output_overlap.h"

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

// One decoded character per group, gathered in a small buffer.
template <std::int32_t CodeLength, bool OddDigest>
class PlainWriter {
public:
    PlainWriter(std::int32_t digest, std::string& out) : out_(out) {
        for (std::size_t j = 0; j < format::kPositionPeriod; ++j)
            positionPlusDigest_[j] = format::positionTerm(j) + digest;
    }
    ~PlainWriter() { flush(); }
    PlainWriter(const PlainWriter&) = delete;
    PlainWriter& operator=(const PlainWriter&) = delete;

    // a and b are the first and second values of a group (-34..255).
    void put(std::int32_t a, std::int32_t b) {
        const std::int32_t v = OddDigest ? a * format::kPairBase + b : b * format::kPairBase + a;
        // Two truncating divisions by L equal one by L * L; a damaged text
        // can make the dividend negative, and only the low 8 bits are kept.
        const std::int32_t x = (v - positionPlusDigest_[period_]) / (CodeLength * CodeLength);
        buffer_[filled_++] = static_cast<unsigned char>(x);
        if (++period_ == format::kPositionPeriod) period_ = 0;
        if (filled_ == kChunk) flush();
    }

private:
    void flush() {
        out_.append(reinterpret_cast<const char*>(buffer_), filled_);
        filled_ = 0;
    }

    std::string& out_;
    std::int32_t positionPlusDigest_[format::kPositionPeriod];
    unsigned char buffer_[kChunk];
    std::size_t filled_ = 0;
    std::size_t period_ = 0;
};

// Reads the group at `at` from four characters known to be inside the text.
// Only 96 opens an escaped first value and only 146 an escaped second one.
template <class Writer>
std::size_t putGroup(const unsigned char* at, Writer& writer) {
    const std::size_t firstEscaped = at[0] == format::kFirstPrefix;
    const std::int32_t a = at[firstEscaped] - format::kEscapeShift * static_cast<std::int32_t>(firstEscaped);
    const unsigned char* second = at + 1 + firstEscaped;
    const std::size_t secondEscaped = second[0] == format::kSecondPrefix;
    const std::int32_t b = second[secondEscaped] - format::kEscapeShift * static_cast<std::int32_t>(secondEscaped);
    writer.put(a, b);
    return 2 + firstEscaped + secondEscaped;
}

template <std::int32_t CodeLength, bool OddDigest>
void appendPlain(const unsigned char* text, std::size_t size, std::size_t bodyLength,
                 std::int32_t digest, std::string& out) {
    PlainWriter<CodeLength, OddDigest> writer(digest, out);
    std::size_t i = 0;
    // A group reads at most four characters.
    while (i < bodyLength && i + 4 <= size) i += putGroup(text + i, writer);
    // Near the end, characters past the text read as 0.
    while (i < bodyLength) {
        unsigned char padded[4] = {0, 0, 0, 0};
        std::memcpy(padded, text + i, size - i < 4 ? size - i : 4);
        i += putGroup(padded, writer);
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
