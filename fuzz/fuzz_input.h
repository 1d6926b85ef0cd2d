#pragma once
// How a fuzz input is split: the first byte picks a code length of 6..10,
// the next that many bytes are the code, the rest is the text. The text is
// the tail of the input, so a read past its end leaves the fuzzer's buffer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "codec/kernel_choice.h"

namespace orvelin::fuzz {

struct FuzzInput {
    std::string_view code;
    std::string_view text;
};

inline bool splitInput(const std::uint8_t* data, std::size_t size, FuzzInput& input) {
    if (size < 1) return false;
    const std::size_t codeLength = 6 + data[0] % 5;
    if (size < 1 + codeLength) return false;
    const auto* chars = reinterpret_cast<const char*>(data);
    input.code = std::string_view(chars + 1, codeLength);
    input.text = std::string_view(chars + 1 + codeLength, size - 1 - codeLength);
    return true;
}

// A broken property is a crash, so that the fuzzer keeps the input.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

// Runs the codec with or without its vector kernels for the lifetime.
class KernelChoice {
public:
    explicit KernelChoice(bool vector) { codec::allowVectorKernels(vector); }
    ~KernelChoice() { codec::allowVectorKernels(true); }
    KernelChoice(const KernelChoice&) = delete;
    KernelChoice& operator=(const KernelChoice&) = delete;
};

}  // namespace orvelin::fuzz
