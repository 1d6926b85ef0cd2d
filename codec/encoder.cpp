#include "codec/codec.h"
#include "codec/format.h"
#include "codec/group_table.h"
#include "codec/input_check.h"
#include "codec/output_overlap.h"

#include <algorithm>
#include <cstring>

namespace orvelin::codec {

namespace {

// Input characters coded per round; their groups fit a buffer that stays in
// the first-level cache.
constexpr std::size_t kChunk = 4096;

// The body: one group per input character. The pair value is the
// position-and-digest term plus the character term, both from small tables,
// and its group comes ready-made from the group table.
void appendBody(std::string_view text, std::int32_t digest, std::int32_t codeLength,
                std::string& out) {
    const GroupTable& groups = groupTable(digest % 2 != 0);
    std::int32_t positionPlusDigest[format::kPositionPeriod];
    for (std::size_t j = 0; j < format::kPositionPeriod; ++j)
        positionPlusDigest[j] = format::positionTerm(j) + digest;
    std::int32_t characterTerm[256];
    for (std::int32_t c = 0; c < 256; ++c) characterTerm[c] = c * codeLength * codeLength;

    // Four bytes are stored per group whatever its length.
    unsigned char buffer[4 * kChunk];
    const auto* input = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t period = 0;
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t count = std::min(kChunk, text.size() - done);
        unsigned char* write = buffer;
        for (std::size_t k = 0; k < count; ++k) {
            const std::int32_t v = positionPlusDigest[period] + characterTerm[input[done + k]];
            std::memcpy(write, &groups.bytes[v], 4);
            write += groups.length[v];
            if (++period == format::kPositionPeriod) period = 0;
        }
        out.append(reinterpret_cast<const char*>(buffer), write - buffer);
        done += count;
    }
}

// The check character ties the first body character to the middle one; its
// prefix, when escaped, follows the digest's parity.
void appendCheckPart(std::string& out, std::int32_t digest) {
    const auto first = static_cast<unsigned char>(out[0]);
    const auto middle = static_cast<unsigned char>(out[out.size() / 2]);
    const int check = first * middle % format::kPairBase;
    if (format::isEscaped(check)) {
        out.push_back(static_cast<char>(digest % 2 == 0 ? format::kFirstPrefix
                                                        : format::kSecondPrefix));
        out.push_back(static_cast<char>(check + format::kEscapeShift));
    } else {
        out.push_back(static_cast<char>(check));
    }
}

}  // namespace

Outcome encode(std::string_view text, std::string_view code, std::string& out) {
    const Outcome outcome = checkInput(text, code);
    if (outcome != Outcome::Ok) return outcome;
    if (viewsInto(text, out)) {
        std::string fresh;
        encode(text, code, fresh);
        out.swap(fresh);
        return Outcome::Ok;
    }
    const std::int32_t digest = KeyDigest(code);
    out.clear();
    out.reserve(maxEncodedSize(text.size()));
    appendBody(text, digest, static_cast<std::int32_t>(code.size()), out);
    appendCheckPart(out, digest);
    return Outcome::Ok;
}

}  // namespace orvelin::codec
