// The AVX-512 float operations of the RGBA filters (simd/RgbaFilters.h): four RGBA pixels a vector.
// Multiplies and adds stay separate operations, as the other kernels round them.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

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
  static Vec Min(Vec a, Vec b) { return _mm512_min_ps(a, b); }
  static Vec Max(Vec a, Vec b) { return _mm512_max_ps(a, b); }
  static Vec Div(Vec a, Vec b) { return _mm512_div_ps(a, b); }
  // Each pixel's alpha in all four of its lanes.
  static Vec AlphaOfEach(Vec v) { return _mm512_shuffle_ps(v, v, 0xFF); }
  // Colour lanes from `colour`, alpha lanes from `alpha`.
  static Vec SelectAlphaLane(Vec colour, Vec alpha) {
    return _mm512_mask_mov_ps(colour, 0x8888, alpha);
  }
  // v where test >= limit, else 0.
  static Vec ZeroWhereBelow(Vec v, Vec test, Vec limit) {
    return _mm512_maskz_mov_ps(_mm512_cmp_ps_mask(test, limit, _CMP_GE_OQ), v);
  }
  // kPixels RGBA pixels' bytes as floats.
  static Vec BytesToFloats(const uint8_t *pixels) {
    return _mm512_cvtepi32_ps(
        _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels))));
  }
  // The lanes (0 .. 255.99) truncated to bytes.
  static void StoreTruncatedBytes(uint8_t *out, Vec v) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out),
                     _mm512_cvtepi32_epi8(_mm512_cvttps_epi32(v)));
  }
  // A pixel (four floats) stored.
  static void StorePixel(float *p, __m128 v) { _mm_storeu_ps(p, v); }
  // (partial 0 + partial 1) + (partial 2 + partial 3), all four in one vector.
  static __m128 SumPartials(const Vec *partials) {
    const __m256 low = _mm512_castps512_ps256(partials[0]);
    const __m256 high = _mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(partials[0]), 1));
    return _mm_add_ps(SumHalves(low), SumHalves(high));
  }
  static __m128 SumHalves(__m256 v) {
    return _mm_add_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
  }
};

}  // namespace kernels::simd
