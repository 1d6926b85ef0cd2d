#include "codec/kernel_choice.h"

#include "codec/vector_kernels.h"

#include <atomic>

namespace orvelin::codec {

namespace {
std::atomic<bool> allowed{true};
}

bool vectorKernelsSupported() {
#if ORVELIN_CODEC_HAS_VECTOR_KERNELS
    static const bool supported =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
        __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi") &&
        __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
    return supported;
#else
    return false;
#endif
}

bool vectorKernelsEnabled() { return allowed.load(std::memory_order_relaxed) && vectorKernelsSupported(); }

void allowVectorKernels(bool allow) { allowed.store(allow, std::memory_order_relaxed); }

}  // namespace orvelin::codec
