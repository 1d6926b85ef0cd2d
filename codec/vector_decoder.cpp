#include "codec/block_rules.h"
#include "codec/format.h"
#include "codec/position_table.h"
#include "codec/vector_target.h"

#if ORVELIN_CODEC_HAS_VECTOR_KERNELS

namespace orvelin::codec::vector {

namespace {

constexpr std::uint64_t kEvenBits = 0x5555555555555555ull;
constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAull;

struct BlockShape {
    std::uint64_t values;        // characters that are values, not prefixes
    std::uint64_t afterPrefix;   // values written after a prefix (escaped)
    std::size_t pairs;           // whole groups that end inside the block
    std::size_t length;          // characters those groups take
};

// False when the block needs the group-by-group walk (block_rules.h).
ORVELIN_VECTOR_TARGET inline bool shapeOf(__m512i block, BlockShape& shape) {
    const std::uint64_t first = _mm512_cmpeq_epi8_mask(block, _mm512_set1_epi8(static_cast<char>(format::kFirstPrefix)));
    const std::uint64_t second = _mm512_cmpeq_epi8_mask(block, _mm512_set1_epi8(static_cast<char>(format::kSecondPrefix)));
    const std::uint64_t prefixes = first | second;
    shape.values = ~prefixes;
    shape.afterPrefix = prefixes << 1;
    shape.pairs = static_cast<std::size_t>(_mm_popcnt_u64(shape.values)) / 2;
    if (shape.pairs == 0) return false;
    const std::uint64_t lastValue = _pdep_u64(std::uint64_t{1} << (2 * shape.pairs - 1), shape.values);
    shape.length = static_cast<std::size_t>(_tzcnt_u64(lastValue)) + 1;
    return (misplacedPrefixes(first, second) & firstCharacters(shape.length)) == 0;
}

// Sixteen pairs: v from the high and low values, less the position term and
// the digest, divided by L * L with truncation. The quotient of two
// integers below 2^17 in magnitude, rounded to a float, truncates to the
// exact integer quotient, since the divisor is at most 100.
ORVELIN_VECTOR_TARGET inline __m128i plainCharacters(__m128i highBytes, __mmask16 highEscaped,
                                                     __m128i lowBytes, __mmask16 lowEscaped,
                                                     const std::int32_t* positions, __m512 squared) {
    const __m512i shift = _mm512_set1_epi32(format::kEscapeShift);
    __m512i high = _mm512_cvtepu8_epi32(highBytes);
    __m512i low = _mm512_cvtepu8_epi32(lowBytes);
    high = _mm512_mask_sub_epi32(high, highEscaped, high, shift);
    low = _mm512_mask_sub_epi32(low, lowEscaped, low, shift);
    const __m512i v = _mm512_add_epi32(_mm512_sub_epi32(_mm512_slli_epi32(high, 8), high), low);
    const __m512i dividend = _mm512_sub_epi32(v, _mm512_loadu_si512(positions));
    const __m512i x = _mm512_cvttps_epi32(_mm512_div_ps(_mm512_cvtepi32_ps(dividend), squared));
    return _mm512_cvtepi32_epi8(x);  // the low 8 bits
}

ORVELIN_VECTOR_TARGET inline __m512i byteIndexes(int start) {
    alignas(64) unsigned char index[64];
    for (int k = 0; k < 64; ++k) index[k] = static_cast<unsigned char>((start + 2 * k) & 63);
    return _mm512_load_si512(index);
}

ORVELIN_VECTOR_TARGET void decodeBlocksFor(const unsigned char* text, std::size_t bodyLength,
                                           const std::int32_t* positionTable, std::int32_t squaredLength,
                                           bool oddDigest, unsigned char* out, std::size_t outputLimit,
                                           DecodeProgress& progress) {
    // With an even digest v = second * 255 + first, with an odd one the
    // other way round: pick which of each pair's values is the high one.
    const __m512i highIndex = byteIndexes(oddDigest ? 0 : 1);
    const __m512i lowIndex = byteIndexes(oddDigest ? 1 : 0);
    const std::uint64_t highBits = oddDigest ? kEvenBits : kOddBits;
    const std::uint64_t lowBits = oddDigest ? kOddBits : kEvenBits;
    const __m512 squared = _mm512_set1_ps(static_cast<float>(squaredLength));

    std::size_t i = progress.position;
    std::size_t period = progress.period;
    std::size_t written = progress.written;
    while (i + 64 <= bodyLength && written + 32 <= outputLimit) {
        const __m512i block = _mm512_loadu_si512(text + i);
        BlockShape shape;
        if (!shapeOf(block, shape)) break;
        const __m512i values = _mm512_maskz_compress_epi8(shape.values, block);
        const std::uint64_t escaped = _pext_u64(shape.afterPrefix, shape.values);
        const __m512i high = _mm512_permutexvar_epi8(highIndex, values);
        const __m512i low = _mm512_permutexvar_epi8(lowIndex, values);
        const std::uint64_t highEscaped = _pext_u64(escaped, highBits);
        const std::uint64_t lowEscaped = _pext_u64(escaped, lowBits);
        for (int half = 0; half < 2; ++half) {
            const __m128i highBytes = half == 0 ? _mm512_castsi512_si128(high) : _mm512_extracti32x4_epi32(high, 1);
            const __m128i lowBytes = half == 0 ? _mm512_castsi512_si128(low) : _mm512_extracti32x4_epi32(low, 1);
            const __m128i plain = plainCharacters(
                highBytes, static_cast<__mmask16>(highEscaped >> (16 * half)), lowBytes,
                static_cast<__mmask16>(lowEscaped >> (16 * half)), positionTable + period + 16 * half, squared);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written + 16 * half), plain);
        }
        written += shape.pairs;
        i += shape.length;
        period = advancePeriod(period, shape.pairs);
    }
    progress = {i, period, written};
}

}  // namespace

void decodeBlocks(const unsigned char* text, std::size_t bodyLength, const std::int32_t* positionTable,
                  std::int32_t squaredLength, bool oddDigest, unsigned char* out,
                  std::size_t outputLimit, DecodeProgress& progress) {
    decodeBlocksFor(text, bodyLength, positionTable, squaredLength, oddDigest, out, outputLimit, progress);
}

}  // namespace orvelin::codec::vector

#endif
