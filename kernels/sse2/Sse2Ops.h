// The SSE2 vector operations the SIMD filters are written over: 128-bit vectors of eight 16-bit
// samples or four 32-bit sums.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace simd {

struct Sse2Ops {
  using Vec = __m128i;
  static constexpr int kLanes = 4;    // 32-bit lanes
  static constexpr int kSamples = 8;  // 16-bit samples per step of the vertical filter

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
    _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(words, words));
  }

  // The Y, Cb, Cr sums of one output pixel in lanes 0 to 2, descaled and clamped. With room
  // after the pixel, 8 bytes are stored: the fourth sample lands on the next pixel, which is
  // written afterwards.
  static void StoreOutputs(int16_t *pixel, Vec sums, bool roomAfter) {
    const Vec descaled = Descale(sums);
    const Vec samples = _mm_packs_epi32(descaled, descaled);
    if (roomAfter) {
      _mm_storel_epi64(reinterpret_cast<__m128i *>(pixel), samples);
    } else {
      const int32_t yAndCb = _mm_cvtsi128_si32(samples);
      std::memcpy(pixel, &yAndCb, sizeof(yAndCb));
      pixel[2] = static_cast<int16_t>(_mm_extract_epi16(samples, 2));
    }
  }

  // Sum over `pairCount` prepared YC48 pixel pairs (Y pair, Cb pair, Cr pair, unused) of their
  // products with a block's coefficient pairs: lanes 0 to 2 hold the Y, Cb and Cr sums.
  template <class Layout>
  static Vec DotPixelPairs(const Vec *pixelPairs, const int16_t *coeffs, int32_t pairCount) {
    Vec sums = _mm_setzero_si128();
    for (int32_t j = 0; j < pairCount; ++j)
      sums = _mm_add_epi32(
          sums, _mm_madd_epi16(_mm_load_si128(pixelPairs + j),
                               PairCoefficients<Layout>(coeffs + j * Layout::kPairCoeffs)));
    return sums;
  }

  // One coefficient pair spread over the lanes Y, Cb, Cr: the one set of shared weights, or
  // the luma set for Y and the chroma set for Cb and Cr.
  template <class Layout>
  static Vec PairCoefficients(const int16_t *pair) {
    if constexpr (Layout::kPairCoeffs == 2) {
      int32_t both;
      std::memcpy(&both, pair, sizeof(both));
      return _mm_set1_epi32(both);
    } else {
      const Vec sets = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(pair));
      return _mm_shuffle_epi32(sets, _MM_SHUFFLE(1, 1, 1, 0));
    }
  }
};

}  // namespace simd
