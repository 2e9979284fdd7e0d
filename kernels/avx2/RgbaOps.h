// The AVX2 float operations of the RGBA filters (simd/RgbaFilters.h): two RGBA pixels a vector.
// Multiplies and adds stay separate operations, as the other kernels round them.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

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
  static Vec Min(Vec a, Vec b) { return _mm256_min_ps(a, b); }
  static Vec Max(Vec a, Vec b) { return _mm256_max_ps(a, b); }
  static Vec Div(Vec a, Vec b) { return _mm256_div_ps(a, b); }
  // Each pixel's alpha in all four of its lanes.
  static Vec AlphaOfEach(Vec v) { return _mm256_shuffle_ps(v, v, 0xFF); }
  // Colour lanes from `colour`, alpha lanes from `alpha`.
  static Vec SelectAlphaLane(Vec colour, Vec alpha) { return _mm256_blend_ps(colour, alpha, 0x88); }
  // v where test >= limit, else 0.
  static Vec ZeroWhereBelow(Vec v, Vec test, Vec limit) {
    return _mm256_andnot_ps(_mm256_cmp_ps(test, limit, _CMP_LT_OQ), v);
  }
  // kPixels RGBA pixels' bytes as floats.
  static Vec BytesToFloats(const uint8_t *pixels) {
    return _mm256_cvtepi32_ps(
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(pixels))));
  }
  // The lanes (0 .. 255.99) truncated to bytes.
  static void StoreTruncatedBytes(uint8_t *out, Vec v) {
    const __m256i lanes = _mm256_cvttps_epi32(v);
    const __m256i words = _mm256_packs_epi32(lanes, lanes);
    const __m256i bytes = _mm256_packus_epi16(words, words);
    const int32_t low = _mm_cvtsi128_si32(_mm256_castsi256_si128(bytes));
    const int32_t high = _mm_cvtsi128_si32(_mm256_extracti128_si256(bytes, 1));
    std::memcpy(out, &low, sizeof(low));
    std::memcpy(out + 4, &high, sizeof(high));
  }
  // A pixel (four floats) stored.
  static void StorePixel(float *p, __m128 v) { _mm_storeu_ps(p, v); }
  // (partial 0 + partial 1) + (partial 2 + partial 3), two partial sums a vector.
  static __m128 SumPartials(const Vec *partials) {
    return _mm_add_ps(SumHalves(partials[0]), SumHalves(partials[1]));
  }
  static __m128 SumHalves(Vec v) {
    return _mm_add_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
  }
};

}  // namespace kernels::simd
