// The SSE2 vector operations the SIMD filters are written over: 128-bit vectors of eight 16-bit
// samples or four 32-bit sums.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "simd/HalfStores.h"

namespace simd {

struct Sse2Ops {
  using Vec = __m128i;
  static constexpr int kLanes = 4;    // 32-bit lanes
  static constexpr int kSamples = 8;  // 16-bit samples per step of the vertical filter
  // Source line pairs per pass of the vertical filter's loop over a step's pairs: at eight
  // samples a step the loop's own work weighs enough that taking two at a time pays.
  static constexpr int kVerticalPairsPerPass = 2;
  // Output lines the vertical filter takes together: two measured slower here than one line
  // with two pairs a pass, as the eight registers cannot hold both lines' sums and pairs.
  static constexpr int32_t kVerticalLinesAtOnce = 1;

  // The sample of a step that 32-bit lane k of its low (half 0) or high (half 1) interleaved
  // pairs belongs to.
  static constexpr int LaneSample(int half, int k) { return half * 4 + k; }

  static Vec Zero() { return _mm_setzero_si128(); }
  static Vec Add(Vec a, Vec b) { return _mm_add_epi32(a, b); }
  static Vec MulAdd(Vec samples, Vec coeffs) { return _mm_madd_epi16(samples, coeffs); }
  static Vec LoadLanes(const uint32_t *lanes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(lanes));
  }

  // Samples s .. s + 7 of two lines as 16-bit (even line, odd line) pairs: samples 0 to 3 in
  // `low`, 4 to 7 in `high`.
  static void InterleaveLines(const int16_t *even, const int16_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(even));
    const Vec b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(odd));
    low = _mm_unpacklo_epi16(a, b);
    high = _mm_unpackhi_epi16(a, b);
  }
  static void InterleaveLines(const uint8_t *even, const uint8_t *odd, Vec &low, Vec &high) {
    const Vec bytes = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(even)),
                                        _mm_loadl_epi64(reinterpret_cast<const __m128i *>(odd)));
    low = _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
    high = _mm_unpackhi_epi8(bytes, _mm_setzero_si128());
  }

  // (sum + 8192) >> 14 of every lane.
  static Vec Descale(Vec sums) {
    return _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(8192)), 14);
  }

  // The eight sums of a step, descaled and clamped: signed 16-bit samples, or bytes (the 16-bit
  // saturation keeps the order of values, so saturating twice is clamping to 0 .. 255).
  static void StoreDescaled(int16_t *out, Vec low, Vec high) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out),
                     _mm_packs_epi32(Descale(low), Descale(high)));
  }
  static void StoreDescaled(uint8_t *out, Vec low, Vec high) {
    const Vec words = _mm_packs_epi32(Descale(low), Descale(high));
    StoreLowHalf(out, _mm_packus_epi16(words, words));
  }
};

}  // namespace simd
