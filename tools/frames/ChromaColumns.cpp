#include "frames/ChromaColumns.h"

#include <emmintrin.h>

#include <algorithm>

#include "common/FixedPoint.h"
#include "frames/ChromaFilter.h"

namespace quorlin_resizer {

namespace {

// Samples with kChromaFractionBits times weights to samples with kChromaFractionBits, or to bytes.
constexpr int kFractionShift = kernels::DescaleShift(kChromaFractionBits, kChromaFractionBits);
constexpr int kByteShift = kernels::DescaleShift(kChromaFractionBits, 0);

// A sum of samples times weights rounded to the output's precision.
void Store(uint32_t sum, int16_t &out) {
  out = static_cast<int16_t>(kernels::Descale<kFractionShift>(sum));
}
void Store(uint32_t sum, uint8_t &out) {
  out = static_cast<uint8_t>(std::clamp(kernels::Descale<kByteShift>(sum), 0, 255));
}

// Eight sums, samples 0-3 in `low` and 4-7 in `high`, rounded as Store does. The sums of
// interpolated chroma stay well inside 16 bits after the shift, so saturating packs change
// nothing; for bytes they clamp to 0 .. 255 (saturating to 16 bits first keeps the order).
template <int Shift>
__m128i Descaled(__m128i low, __m128i high) {
  const __m128i half = _mm_set1_epi32(1 << (Shift - 1));
  return _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(low, half), Shift),
                         _mm_srai_epi32(_mm_add_epi32(high, half), Shift));
}
void StoreEight(__m128i low, __m128i high, int16_t *out) {
  _mm_storeu_si128(reinterpret_cast<__m128i *>(out), Descaled<kFractionShift>(low, high));
}
void StoreEight(__m128i low, __m128i high, uint8_t *out) {
  const __m128i words = Descaled<kByteShift>(low, high);
  _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(words, words));
}

}  // namespace

template <class Out>
void FilterColumnsScalar(const int16_t *const *rows, const int16_t *weights, int taps, int begin,
                         int end, Out *out) {
  for (int x = begin; x < end; ++x) {
    uint32_t sum = 0;
    for (int t = 0; t < taps; ++t) sum = kernels::MulAdd(sum, weights[t], rows[t][x]);
    Store(sum, out[x]);
  }
}

template <class Out>
void FilterColumnsSse2(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                       Out *out) {
  // The filters' taps fit the weight pairs made once here; a longer filter takes the
  // scalar loop throughout.
  __m128i pairs[kMaxVectorTaps / 2];
  for (int t = 0; t < taps && taps <= kMaxVectorTaps; t += 2)
    pairs[t / 2] = _mm_set1_epi32(ChromaFilter::WeightPair(weights, t, taps));
  int x = 0;
  for (; x + 8 <= width && taps <= kMaxVectorTaps; x += 8) {
    __m128i low = _mm_setzero_si128(), high = _mm_setzero_si128();
    for (int t = 0; t < taps; t += 2) {
      const bool pair = t + 1 < taps;
      const __m128i even = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[t] + x));
      const __m128i odd = pair ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[t + 1] + x))
                               : _mm_setzero_si128();
      const __m128i weight = pairs[t / 2];
      low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(even, odd), weight));
      high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(even, odd), weight));
    }
    StoreEight(low, high, out + x);
  }
  FilterColumnsScalar(rows, weights, taps, x, width, out);
}

template void FilterColumnsScalar(const int16_t *const *, const int16_t *, int, int, int,
                                  int16_t *);
template void FilterColumnsScalar(const int16_t *const *, const int16_t *, int, int, int,
                                  uint8_t *);
template void FilterColumnsSse2(const int16_t *const *, const int16_t *, int, int, int16_t *);
template void FilterColumnsSse2(const int16_t *const *, const int16_t *, int, int, uint8_t *);

}  // namespace quorlin_resizer
