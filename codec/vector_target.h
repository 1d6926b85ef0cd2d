#pragma once
// The instruction sets the vector kernels are compiled for, function by
// function, so that the rest of the program stays runnable anywhere.

#include "codec/vector_kernels.h"

#if ORVELIN_CODEC_HAS_VECTOR_KERNELS
#include <immintrin.h>
#define ORVELIN_VECTOR_TARGET \
    __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))
#endif
