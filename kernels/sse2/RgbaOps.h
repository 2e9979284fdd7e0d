// The SSE2 float operations of the RGBA filters (simd/RgbaFilters.h): one RGBA pixel a vector.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace kernels::simd {

struct Sse2RgbaOps {
  using Vec = __m128;
  static constexpr int32_t kPixels = 1;
  static constexpr int32_t kRegisters = sizeof(void *) == 8 ? 16 : 8;

  static Vec Zero() { return _mm_setzero_ps(); }
  static Vec Load(const float *p) { return _mm_loadu_ps(p); }
  static void Store(float *p, Vec v) { _mm_storeu_ps(p, v); }
  static Vec Broadcast(float w) { return _mm_set1_ps(w); }
  static Vec Add(Vec a, Vec b) { return _mm_add_ps(a, b); }
  static Vec Mul(Vec a, Vec b) { return _mm_mul_ps(a, b); }
  // The pixel row[4 x first[0]].
  static Vec LoadPixels(const float *row, const int32_t *first) {
    return _mm_loadu_ps(row + 4 * first[0]);
  }
};

}  // namespace kernels::simd
