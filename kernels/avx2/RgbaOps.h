// The AVX2 float operations of the RGBA filters (simd/RgbaFilters.h): two RGBA pixels a vector.
// Multiplies and adds stay separate operations, as the other kernels round them.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace kernels::simd {

struct Avx2RgbaOps {
  using Vec = __m256;
  static constexpr int32_t kPixels = 2;
  static constexpr int32_t kRegisters = sizeof(void *) == 8 ? 16 : 8;

  static Vec Zero() { return _mm256_setzero_ps(); }
  static Vec Load(const float *p) { return _mm256_loadu_ps(p); }
  static void Store(float *p, Vec v) { _mm256_storeu_ps(p, v); }
  static Vec Broadcast(float w) { return _mm256_set1_ps(w); }
  static Vec Add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
  static Vec Mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
  // The pixels row[4 x first[0]] and row[4 x first[1]], in that order.
  static Vec LoadPixels(const float *row, const int32_t *first) {
    return _mm256_loadu2_m128(row + 4 * first[1], row + 4 * first[0]);
  }
};

}  // namespace kernels::simd
