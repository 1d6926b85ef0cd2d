#include "codec/format.h"
#include "codec/position_table.h"
#include "codec/vector_target.h"

#if ORVELIN_CODEC_HAS_VECTOR_KERNELS

namespace orvelin::codec::vector {

namespace {

// Byte j, bit k: whether the value 4 * j + k is escaped; looked up by
// value / 4 with a byte permutation.
struct EscapeBits {
    constexpr EscapeBits() : bytes() {
        for (int value = 0; value < 256; ++value)
            if (format::isEscaped(value)) bytes[value / 4] |= static_cast<unsigned char>(1 << (value % 4));
    }
    alignas(64) unsigned char bytes[64];
};
constexpr EscapeBits kEscapeBits;

ORVELIN_VECTOR_TARGET inline __mmask16 escapedLanes(__m512i values) {
    const __m512i table = _mm512_load_si512(kEscapeBits.bytes);
    // Only byte 0 of each lane matters: the index's upper bytes are 0.
    const __m512i bits = _mm512_permutexvar_epi8(_mm512_srli_epi32(values, 2), table);
    const __m512i bit = _mm512_srlv_epi32(bits, _mm512_and_si512(values, _mm512_set1_epi32(3)));
    return _mm512_test_epi32_mask(bit, _mm512_set1_epi32(1));
}

// Sixteen characters at a time: each lane builds the four characters
// "96, first, 146, second" and the prefixes of unescaped values are then
// squeezed out.
template <bool OddDigest>
ORVELIN_VECTOR_TARGET unsigned char* encodeGroupsFor(const unsigned char* input, std::size_t count,
                                                     std::size_t period, const std::int32_t* positionTable,
                                                     std::int32_t squaredLength, unsigned char* out) {
    const __m512i squared = _mm512_set1_epi32(squaredLength);
    // (v * 0x8081) >> 23 is v / 255 for every pair value (v < 65536).
    const __m512i reciprocal = _mm512_set1_epi32(0x8081);
    const __m512i shift = _mm512_set1_epi32(format::kEscapeShift);
    const __m512i prefixes = _mm512_set1_epi32(format::kFirstPrefix | format::kSecondPrefix << 16);
    // Both values always stay; a prefix stays when its value is escaped.
    constexpr std::uint64_t kValueBytes = 0xAAAAAAAAAAAAAAAAull;
    for (std::size_t k = 0; k + 16 <= count; k += 16) {
        const __m512i character =
            _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(input + k)));
        const __m512i v = _mm512_add_epi32(_mm512_mullo_epi32(character, squared),
                                           _mm512_loadu_si512(positionTable + period));
        const __m512i q = _mm512_srli_epi32(_mm512_mullo_epi32(v, reciprocal), 23);
        const __m512i r = _mm512_sub_epi32(v, _mm512_sub_epi32(_mm512_slli_epi32(q, 8), q));
        __m512i first = OddDigest ? q : r;
        __m512i second = OddDigest ? r : q;
        const __mmask16 firstEscaped = escapedLanes(first);
        const __mmask16 secondEscaped = escapedLanes(second);
        first = _mm512_mask_add_epi32(first, firstEscaped, first, shift);
        second = _mm512_mask_add_epi32(second, secondEscaped, second, shift);
        const __m512i groups = _mm512_or_si512(
            prefixes, _mm512_or_si512(_mm512_slli_epi32(first, 8), _mm512_slli_epi32(second, 24)));
        const std::uint64_t keep = kValueBytes | _pdep_u64(firstEscaped, 0x1111111111111111ull) |
                                   _pdep_u64(secondEscaped, 0x4444444444444444ull);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, groups));
        out += _mm_popcnt_u64(keep);
        period = advancePeriod(period, 16);
    }
    return out;
}

}  // namespace

unsigned char* encodeGroups(const unsigned char* input, std::size_t count, std::size_t period,
                            const std::int32_t* positionTable, std::int32_t squaredLength,
                            bool oddDigest, unsigned char* out) {
    return oddDigest ? encodeGroupsFor<true>(input, count, period, positionTable, squaredLength, out)
                     : encodeGroupsFor<false>(input, count, period, positionTable, squaredLength, out);
}

}  // namespace orvelin::codec::vector

#endif
