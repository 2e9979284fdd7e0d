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
  static Vec Div(Vec a, Vec b) { return _mm_div_ps(a, b); }
  // Each pixel's alpha in all four of its lanes.
  static Vec AlphaOfEach(Vec v) { return _mm_shuffle_ps(v, v, 0xFF); }
  // Colour lanes from `colour`, alpha lanes from `alpha`.
  static Vec SelectAlphaLane(Vec colour, Vec alpha) {
    const Vec alphaLanes = _mm_castsi128_ps(_mm_set_epi32(-1, 0, 0, 0));
    return _mm_or_ps(_mm_and_ps(alphaLanes, alpha), _mm_andnot_ps(alphaLanes, colour));
  }
  // kPixels RGBA pixels' bytes as floats.
  static Vec BytesToFloats(const uint8_t *pixels) {
    int32_t word;
    std::memcpy(&word, pixels, sizeof(word));
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), zero);
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
  }
  // Per 128-bit lane, lanes of a picked by the low half of Imm, then of b by the high half.
  template <int Imm>
  static Vec Shuffle(Vec a, Vec b) { return _mm_shuffle_ps(a, b, Imm); }
  // The pixels of a vector.
  static void Split(Vec v, __m128 (&pixels)[kPixels]) { pixels[0] = v; }
  // A pixel (four floats) stored.
  static void StorePixel(float *p, __m128 v) { _mm_storeu_ps(p, v); }
  // Four vectors' lanes truncated to bytes, saturating: 4 * kPixels pixels, each with a zero
  // alpha byte stored as 0.
  static void StoreSaturatedBytesOfVisiblePixels(uint8_t *out, const Vec (&v)[4]) {
    const __m128i low = _mm_packs_epi32(_mm_cvttps_epi32(v[0]), _mm_cvttps_epi32(v[1]));
    const __m128i high = _mm_packs_epi32(_mm_cvttps_epi32(v[2]), _mm_cvttps_epi32(v[3]));
    const __m128i bytes = _mm_packus_epi16(low, high);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), VisiblePixels(bytes));
  }
  // Pixels (32-bit lanes) with a zero alpha byte made 0.
  static __m128i VisiblePixels(__m128i pixels) {
    const __m128i alpha = _mm_and_si128(pixels, _mm_set1_epi32(static_cast<int32_t>(0xFF000000)));
    return _mm_andnot_si128(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()), pixels);
  }
};

}  // namespace kernels::simd
