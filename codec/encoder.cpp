#include "codec/codec.h"
#include "codec/format.h"
#include "codec/group_table.h"
#include "codec/input_check.h"
#include "codec/kernel_choice.h"
#include "codec/output_overlap.h"
#include "codec/position_table.h"
#include "codec/vector_kernels.h"

#include <algorithm>
#include <cstring>

namespace orvelin::codec {

namespace {

// Input characters coded per round; their groups fit a buffer that stays in
// the first-level cache.
constexpr std::size_t kChunk = 4096;

// The body: one group per input character. The pair value is the
// position-and-digest term plus the character term, both from small tables,
// and its group comes ready-made from the group table. Four bytes are
// stored per group whatever its length.
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

void appendBody(std::string_view text, std::int32_t digest, std::int32_t codeLength, std::string& out) {
    const bool oddDigest = digest % 2 != 0;
    const GroupTable& groups = groupTable(oddDigest);
    const PositionTable positions(digest);
    std::int32_t characterTerm[256];
    for (std::int32_t c = 0; c < 256; ++c) characterTerm[c] = c * codeLength * codeLength;
    [[maybe_unused]] const bool vectorKernels = vectorKernelsEnabled();

    unsigned char buffer[4 * kChunk + vector::kOutputSlack];
    const auto* input = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t period = 0;
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t count = std::min(kChunk, text.size() - done);
        unsigned char* write = buffer;
        std::size_t coded = 0;
#if ORVELIN_CODEC_HAS_VECTOR_KERNELS
        if (vectorKernels) {
            write = vector::encodeGroups(input + done, count, period, positions.values,
                                         codeLength * codeLength, oddDigest, write);
            coded = count - count % 16;
        }
#endif
        write = encodeGroupsPortable(input + done + coded, count - coded,
                                     (period + coded) % format::kPositionPeriod, positions.values,
                                     characterTerm, groups, write);
        out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(write - buffer));
        period = (period + count) % format::kPositionPeriod;
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
