// The AVX2 vector operations the SIMD vertical filter is written over: 256-bit vectors of
// sixteen 16-bit samples or eight 32-bit sums. Only Avx2Kernel.cpp includes this header; it
// alone is compiled for AVX2.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace simd {

struct Avx2Ops {
  using Vec = __m256i;
  static constexpr int kLanes = 8;     // 32-bit lanes
  static constexpr int kSamples = 16;  // 16-bit samples per step of the vertical filter
  // Source line pairs per pass of the vertical filter's loop: two measured no faster here.
  static constexpr int kVerticalPairsPerPass = 1;
  // Output lines the vertical filter takes together, sharing their source loads: two measured
  // about a tenth faster at 1920x1080 -> 1280x720.
  static constexpr int32_t kVerticalLinesAtOnce = 2;

  // Interleaving works within each 128-bit half: lanes 0 to 3 of the low (half 0) or high
  // (half 1) pairs come from samples 0 to 7, lanes 4 to 7 from samples 8 to 15.
  static constexpr int LaneSample(int half, int k) { return (k / 4) * 8 + half * 4 + k % 4; }

  static Vec Zero() { return _mm256_setzero_si256(); }
  static Vec Add(Vec a, Vec b) { return _mm256_add_epi32(a, b); }
  static Vec MulAdd(Vec samples, Vec coeffs) { return _mm256_madd_epi16(samples, coeffs); }
  static Vec LoadLanes(const uint32_t *lanes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(lanes));
  }

  static void InterleaveLines(const int16_t *even, const int16_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(even));
    const Vec b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(odd));
    low = _mm256_unpacklo_epi16(a, b);
    high = _mm256_unpackhi_epi16(a, b);
  }
  static void InterleaveLines(const uint8_t *even, const uint8_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(even)));
    const Vec b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(odd)));
    low = _mm256_unpacklo_epi16(a, b);
    high = _mm256_unpackhi_epi16(a, b);
  }

  static Vec Descale(Vec sums) {
    return _mm256_srai_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(8192)), 14);
  }

  // Packing works within each half too, which undoes the interleaving's order.
  static void StoreDescaled(int16_t *out, Vec low, Vec high) {
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out),
                        _mm256_packs_epi32(Descale(low), Descale(high)));
  }
  static void StoreDescaled(uint8_t *out, Vec low, Vec high) {
    const Vec words = _mm256_packs_epi32(Descale(low), Descale(high));
    const Vec bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm256_castsi256_si128(bytes));
  }
};

}  // namespace simd
