#include "codec/body_encoder.h"
#include "codec/codec.h"
#include "codec/format.h"
#include "codec/input_check.h"
#include "codec/kernel_choice.h"
#include "codec/output_overlap.h"
#include "codec/vector_kernels.h"

#include <algorithm>
#include <cstring>

namespace orvelin::codec {

namespace {

// The body: one group per input character. The pair value is the
// position-and-digest term plus the character term, both from small tables,
// and its group comes ready-made from the group table. Four bytes are
// stored per group whatever its length, which stays inside the 4 bytes per
// character the caller provides.
unsigned char* encodeGroupsPortable(const unsigned char* input, std::size_t count, std::size_t period,
                                    const std::int32_t* positions, const std::int32_t* characterTerm,
                                    const GroupTable& groups, unsigned char* write) {
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t v = positions[period] + characterTerm[input[k]];
        std::memcpy(write, &groups.bytes[v], 4);
        write += groups.length[v];
        period = advancePeriod(period, 1);
    }
    return write;
}

// Input characters coded per round by encode(); their groups fit a buffer
// that stays in the first-level cache.
constexpr std::size_t kChunk = 4096;

void appendBody(const BodyEncoder& encoder, std::string_view text, std::string& out) {
    unsigned char buffer[4 * kChunk];
    const auto* input = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t count = std::min(kChunk, text.size() - done);
        const std::size_t written = encoder.encodeBody(input + done, count, done, buffer);
        out.append(reinterpret_cast<const char*>(buffer), written);
        done += count;
    }
}

void appendCheckPart(const BodyEncoder& encoder, std::string& out) {
    unsigned char part[BodyEncoder::kMaxCheckPartSize];
    const std::size_t size = encoder.appendCheckPart(static_cast<unsigned char>(out[0]),
                                                     static_cast<unsigned char>(out[out.size() / 2]), part);
    out.append(reinterpret_cast<const char*>(part), size);
}

}  // namespace

BodyEncoder::BodyEncoder(std::string_view code)
    : digest_(KeyDigest(code)),
      squaredLength_(static_cast<std::int32_t>(code.size() * code.size())),
      oddDigest_(digest_ % 2 != 0),
      groups_(groupTable(oddDigest_)),
      positions_(digest_) {
    for (std::int32_t c = 0; c < 256; ++c) characterTerm_[c] = c * squaredLength_;
}

std::size_t BodyEncoder::encodeBody(const unsigned char* in, std::size_t n, std::size_t firstPosition,
                                    unsigned char* out) const {
    const std::size_t period = firstPosition % format::kPositionPeriod;
    unsigned char* write = out;
    std::size_t coded = 0;
#if ORVELIN_CODEC_HAS_VECTOR_KERNELS
    // Each 64-byte store starts at most 4 bytes per character already coded
    // and covers the next 16 characters' room, so it stays inside 4 * n too.
    if (vectorKernelsEnabled()) {
        write = vector::encodeGroups(in, n, period, positions_.values, squaredLength_, oddDigest_, write);
        coded = n - n % 16;
    }
#endif
    write = encodeGroupsPortable(in + coded, n - coded, (period + coded) % format::kPositionPeriod,
                                 positions_.values, characterTerm_, groups_, write);
    return static_cast<std::size_t>(write - out);
}

// The check character ties the first body character to the middle one; its
// prefix, when escaped, follows the digest's parity.
std::size_t BodyEncoder::appendCheckPart(unsigned char first, unsigned char middle,
                                         unsigned char* out) const {
    const int check = first * middle % format::kPairBase;
    if (!format::isEscaped(check)) {
        out[0] = static_cast<unsigned char>(check);
        return 1;
    }
    out[0] = oddDigest_ ? format::kSecondPrefix : format::kFirstPrefix;
    out[1] = static_cast<unsigned char>(check + format::kEscapeShift);
    return 2;
}

Outcome encode(std::string_view text, std::string_view code, std::string& out) {
    const Outcome outcome = checkInput(text, code);
    if (outcome != Outcome::Ok) return outcome;
    if (viewsInto(text, out)) {
        std::string fresh;
        encode(text, code, fresh);
        out.swap(fresh);
        return Outcome::Ok;
    }
    const BodyEncoder encoder(code);
    out.clear();
    out.reserve(maxEncodedSize(text.size()));
    appendBody(encoder, text, out);
    appendCheckPart(encoder, out);
    return Outcome::Ok;
}

}  // namespace orvelin::codec
