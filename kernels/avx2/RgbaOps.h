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
  static Vec Div(Vec a, Vec b) { return _mm256_div_ps(a, b); }
  // Each pixel's alpha in all four of its lanes.
  static Vec AlphaOfEach(Vec v) { return _mm256_shuffle_ps(v, v, 0xFF); }
  // Colour lanes from `colour`, alpha lanes from `alpha`.
  static Vec SelectAlphaLane(Vec colour, Vec alpha) { return _mm256_blend_ps(colour, alpha, 0x88); }
  // kPixels RGBA pixels' bytes as floats.
  static Vec BytesToFloats(const uint8_t *pixels) {
    return _mm256_cvtepi32_ps(
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(pixels))));
  }
  // Per 128-bit lane, lanes of a picked by the low half of Imm, then of b by the high half.
  template <int Imm>
  static Vec Shuffle(Vec a, Vec b) { return _mm256_shuffle_ps(a, b, Imm); }
  // The pixels of a vector.
  static void Split(Vec v, __m128 (&pixels)[kPixels]) {
    pixels[0] = _mm256_castps256_ps128(v);
    pixels[1] = _mm256_extractf128_ps(v, 1);
  }
  // A pixel (four floats) stored.
  static void StorePixel(float *p, __m128 v) { _mm_storeu_ps(p, v); }
  // Four vectors' lanes truncated to bytes, saturating: 4 * kPixels pixels, each with a zero
  // alpha byte stored as 0.
  static void StoreSaturatedBytesOfVisiblePixels(uint8_t *out, const Vec (&v)[4]) {
    const __m256i low = _mm256_packs_epi32(_mm256_cvttps_epi32(v[0]), _mm256_cvttps_epi32(v[1]));
    const __m256i high = _mm256_packs_epi32(_mm256_cvttps_epi32(v[2]), _mm256_cvttps_epi32(v[3]));
    // Per 128-bit lane the pixels are 0 2 4 6 and 1 3 5 7.
    const __m256i bytes = _mm256_packus_epi16(low, high);
    const __m256i alpha =
        _mm256_and_si256(bytes, _mm256_set1_epi32(static_cast<int32_t>(0xFF000000)));
    const __m256i visible =
        _mm256_andnot_si256(_mm256_cmpeq_epi32(alpha, _mm256_setzero_si256()), bytes);
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out),
                        _mm256_permutevar8x32_epi32(visible, order));
  }
};

}  // namespace kernels::simd
