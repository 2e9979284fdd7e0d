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
  static Vec Div(Vec a, Vec b) { return _mm512_div_ps(a, b); }
  // Each pixel's alpha in all four of its lanes.
  static Vec AlphaOfEach(Vec v) { return _mm512_shuffle_ps(v, v, 0xFF); }
  // Colour lanes from `colour`, alpha lanes from `alpha`.
  static Vec SelectAlphaLane(Vec colour, Vec alpha) {
    return _mm512_mask_mov_ps(colour, 0x8888, alpha);
  }
  // kPixels RGBA pixels' bytes as floats.
  static Vec BytesToFloats(const uint8_t *pixels) {
    return _mm512_cvtepi32_ps(
        _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels))));
  }
  // Per 128-bit lane, lanes of a picked by the low half of Imm, then of b by the high half.
  template <int Imm>
  static Vec Shuffle(Vec a, Vec b) { return _mm512_shuffle_ps(a, b, Imm); }
  // The pixels of a vector.
  static void Split(Vec v, __m128 (&pixels)[kPixels]) {
    pixels[0] = _mm512_extractf32x4_ps(v, 0);
    pixels[1] = _mm512_extractf32x4_ps(v, 1);
    pixels[2] = _mm512_extractf32x4_ps(v, 2);
    pixels[3] = _mm512_extractf32x4_ps(v, 3);
  }
  // A pixel (four floats) stored.
  static void StorePixel(float *p, __m128 v) { _mm_storeu_ps(p, v); }
  // Four vectors' lanes truncated to bytes, saturating: 4 * kPixels pixels, each with a zero
  // alpha byte stored as 0.
  static void StoreSaturatedBytesOfVisiblePixels(uint8_t *out, const Vec (&v)[4]) {
    for (int i = 0; i < 4; ++i) {
      const __m512i lanes = _mm512_max_epi32(_mm512_cvttps_epi32(v[i]), _mm512_setzero_si512());
      // Each pixel's alpha in all its lanes, compared with 0.
      const __mmask16 hidden = _mm512_cmpeq_epi32_mask(
          _mm512_shuffle_epi32(lanes, _MM_PERM_DDDD), _mm512_setzero_si512());
      _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 16 * i),
                       _mm512_maskz_cvtusepi32_epi8(static_cast<__mmask16>(~hidden), lanes));
    }
  }
};

}  // namespace kernels::simd
