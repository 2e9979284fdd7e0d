// The SSE2 float operations of the RGBA filters (simd/RgbaFilters.h): one RGBA pixel a vector.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

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
  static Vec Min(Vec a, Vec b) { return _mm_min_ps(a, b); }
  static Vec Max(Vec a, Vec b) { return _mm_max_ps(a, b); }
  static Vec Div(Vec a, Vec b) { return _mm_div_ps(a, b); }
  // Each pixel's alpha in all four of its lanes.
  static Vec AlphaOfEach(Vec v) { return _mm_shuffle_ps(v, v, 0xFF); }
  // Colour lanes from `colour`, alpha lanes from `alpha`.
  static Vec SelectAlphaLane(Vec colour, Vec alpha) {
    const Vec alphaLanes = _mm_castsi128_ps(_mm_set_epi32(-1, 0, 0, 0));
    return _mm_or_ps(_mm_and_ps(alphaLanes, alpha), _mm_andnot_ps(alphaLanes, colour));
  }
  // v where test >= limit, else 0.
  static Vec ZeroWhereBelow(Vec v, Vec test, Vec limit) {
    return _mm_andnot_ps(_mm_cmplt_ps(test, limit), v);
  }
  // kPixels RGBA pixels' bytes as floats.
  static Vec BytesToFloats(const uint8_t *pixels) {
    int32_t word;
    std::memcpy(&word, pixels, sizeof(word));
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), zero);
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
  }
  // The lanes (0 .. 255.99) truncated to bytes.
  static void StoreTruncatedBytes(uint8_t *out, Vec v) {
    const __m128i lanes = _mm_cvttps_epi32(v);
    const __m128i words = _mm_packs_epi32(lanes, lanes);
    const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(out, &bytes, sizeof(bytes));
  }
  // A pixel (four floats) stored.
  static void StorePixel(float *p, __m128 v) { _mm_storeu_ps(p, v); }
  // (partial 0 + partial 1) + (partial 2 + partial 3), one partial sum a vector.
  static __m128 SumPartials(const Vec *partials) {
    return _mm_add_ps(_mm_add_ps(partials[0], partials[1]), _mm_add_ps(partials[2], partials[3]));
  }
};

}  // namespace kernels::simd
