// The AVX-512 float operations of the RGBA filters (simd/RgbaFilters.h): four RGBA pixels a vector.
// Multiplies and adds stay separate operations, as the other kernels round them.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace kernels::simd {

struct Avx512RgbaOps {
  using Vec = __m512;
  static constexpr int32_t kPixels = 4;
  static constexpr int32_t kRegisters = sizeof(void *) == 8 ? 32 : 8;

  static Vec Zero() { return _mm512_setzero_ps(); }
  static Vec Load(const float *p) { return _mm512_loadu_ps(p); }
  static void Store(float *p, Vec v) { _mm512_storeu_ps(p, v); }
  static Vec Broadcast(float w) { return _mm512_set1_ps(w); }
  static Vec Add(Vec a, Vec b) { return _mm512_add_ps(a, b); }
  static Vec Mul(Vec a, Vec b) { return _mm512_mul_ps(a, b); }
  // The pixels row[4 x first[p]], p = 0 .. 3, in that order.
  static Vec LoadPixels(const float *row, const int32_t *first) {
    const __m256 low = _mm256_loadu2_m128(row + 4 * first[1], row + 4 * first[0]);
    const __m256 high = _mm256_loadu2_m128(row + 4 * first[3], row + 4 * first[2]);
    return _mm512_castpd_ps(_mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_castps_pd(low)),
                                               _mm256_castps_pd(high), 1));
  }
};

}  // namespace kernels::simd
