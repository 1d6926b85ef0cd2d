#pragma once
// AVX-512 versions of the inner loops, for processors that have them
// (VBMI2 byte compression and BMI2 bit deposit in particular). They give
// exactly the portable loops' results; kernel_choice.h decides which run.

#include <cstddef>
#include <cstdint>

// Not on Windows: GCC there cannot align the stack for spilled 512-bit
// registers.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(_WIN32)
#define ORVELIN_CODEC_HAS_VECTOR_KERNELS 1
#else
#define ORVELIN_CODEC_HAS_VECTOR_KERNELS 0
#endif

namespace orvelin::codec::vector {

// Room the kernels may write past their last output character.
constexpr std::size_t kOutputSlack = 64;

// Encodes the first `count - count % 16` characters, starting at position
// `period` of the position table (which has kPositionTableSlack extra
// entries); returns the end of the written groups.
unsigned char* encodeGroups(const unsigned char* input, std::size_t count, std::size_t period,
                            const std::int32_t* positionTable, std::int32_t squaredLength,
                            bool oddDigest, unsigned char* out);

struct DecodeProgress {
    std::size_t position;  // in the encoded text, at a group's start
    std::size_t period;    // pair counter modulo the position period
    std::size_t written;   // characters in the output buffer
};

// Decodes 64-character blocks of groups that lie inside the body while the
// output buffer keeps 32 characters of room below `outputLimit`. Stops
// early at a block whose prefixes are out of place (a damaged text), which
// the caller then walks group by group.
void decodeBlocks(const unsigned char* text, std::size_t bodyLength,
                  const std::int32_t* positionTable, std::int32_t squaredLength, bool oddDigest,
                  unsigned char* out, std::size_t outputLimit, DecodeProgress& progress);

}  // namespace orvelin::codec::vector
