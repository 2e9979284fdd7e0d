// Stores of one 64-bit half of a 128-bit vector. They go through the double-precision stores,
// which write the 8 bytes in one instruction: in 32-bit code the integer form is split into
// two 4-byte stores through a general register.
#pragma once

#include <emmintrin.h>

namespace kernels::simd {

inline void StoreLowHalf(void *out, __m128i v) {
  _mm_storel_pd(static_cast<double *>(out), _mm_castsi128_pd(v));
}

inline void StoreHighHalf(void *out, __m128i v) {
  _mm_storeh_pd(static_cast<double *>(out), _mm_castsi128_pd(v));
}

}  // namespace kernels::simd
