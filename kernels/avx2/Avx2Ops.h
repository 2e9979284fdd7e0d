// The AVX2 vector operations the SIMD filters are written over: 256-bit vectors of sixteen
// 16-bit samples or eight 32-bit sums. Only Avx2Kernel.cpp includes this header; it alone is
// compiled for AVX2.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "sse2/Sse2Ops.h"

namespace simd {

struct Avx2Ops {
  using Vec = __m256i;
  static constexpr int kLanes = 8;     // 32-bit lanes
  static constexpr int kSamples = 16;  // 16-bit samples per step of the vertical filter
  static constexpr int kOutputsPerStep = 2;  // YC48 outputs per step of the horizontal filter
  static constexpr bool kUniformRowTable = true;

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
  static __m128i Descale(__m128i sums) { return Sse2Ops::Descale(sums); }

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

  // Pixel pair j of the step's two outputs, one per half, and their spread coefficients.
  static Vec PixelPairs(const __m128i *pixelPairs, const int32_t *firstPairs, int32_t j) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_load_si128(pixelPairs + firstPairs[0] + j)),
        _mm_load_si128(pixelPairs + firstPairs[1] + j), 1);
  }
  static Vec Coefficients(const __m128i *at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
  }

  // The Y, Cb, Cr sums of two output pixels, one per half, descaled and clamped: 12 bytes, or
  // 16 with room after them (the extra bytes land on the next pixel, written afterwards).
  static void StoreOutputs(int16_t *pixels, Vec sums, bool roomAfter) {
    const Vec words = _mm256_packs_epi32(Descale(sums), Descale(sums));
    const __m128i both = _mm_blend_epi16(_mm256_castsi256_si128(words),
                                         _mm_slli_si128(_mm256_extracti128_si256(words, 1), 6),
                                         0x38);
    if (roomAfter) {
      _mm_storeu_si128(reinterpret_cast<__m128i *>(pixels), both);
    } else {
      _mm_storel_epi64(reinterpret_cast<__m128i *>(pixels), both);
      const int32_t last = _mm_extract_epi32(both, 2);
      std::memcpy(pixels + 4, &last, sizeof(last));
    }
  }

  // As Sse2Ops::DotPixelPairs, two pixel pairs per multiply-add.
  template <class Layout>
  static __m128i DotPixelPairs(const __m128i *pixelPairs, const int16_t *coeffs,
                               int32_t pairCount) {
    Vec sums = _mm256_setzero_si256();
    int32_t j = 0;
    for (; j + 2 <= pairCount; j += 2)
      sums = _mm256_add_epi32(
          sums, _mm256_madd_epi16(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i *>(pixelPairs + j)),
                    TwoPairCoefficients<Layout>(coeffs + j * Layout::kPairCoeffs)));
    __m128i total = _mm_add_epi32(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    if (j < pairCount)
      total = _mm_add_epi32(
          total, _mm_madd_epi16(_mm_load_si128(pixelPairs + j),
                                Sse2Ops::PairCoefficients<Layout>(coeffs + j * Layout::kPairCoeffs)));
    return total;
  }

 private:
  // Coefficient pairs j and j + 1 spread like Sse2Ops::PairCoefficients, one per half.
  template <class Layout>
  static Vec TwoPairCoefficients(const int16_t *pairs) {
    if constexpr (Layout::kPairCoeffs == 2) {
      const __m128i both = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(pairs));
      return _mm256_permutevar8x32_epi32(_mm256_castsi128_si256(both),
                                         _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1));
    } else {
      const __m128i sets = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pairs));
      return _mm256_permutevar8x32_epi32(_mm256_castsi128_si256(sets),
                                         _mm256_setr_epi32(0, 1, 1, 1, 2, 3, 3, 3));
    }
  }
};

}  // namespace simd
