// The chroma column pass sixteen samples a step: FilterColumnsSse2's arithmetic in 256-bit
// vectors. The only source of the column pass compiled for AVX2.
#include <immintrin.h>

#include "frames/ChromaColumns.h"
#include "common/FixedPoint.h"
#include "frames/ChromaFilter.h"

namespace quorlin_resizer {

namespace {

constexpr int kFractionShift = kernels::DescaleShift(kChromaFractionBits, kChromaFractionBits);
constexpr int kByteShift = kernels::DescaleShift(kChromaFractionBits, 0);

// Sixteen sums as rounded 16-bit values. Multiply-adds and packs work within 128-bit halves:
// `low` holds samples 0-3 and 8-11, `high` 4-7 and 12-15, so the pack puts them in order.
template <int Shift>
__m256i Descaled(__m256i low, __m256i high) {
  const __m256i half = _mm256_set1_epi32(1 << (Shift - 1));
  return _mm256_packs_epi32(_mm256_srai_epi32(_mm256_add_epi32(low, half), Shift),
                            _mm256_srai_epi32(_mm256_add_epi32(high, half), Shift));
}
void StoreSixteen(__m256i low, __m256i high, int16_t *out) {
  _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), Descaled<kFractionShift>(low, high));
}
void StoreSixteen(__m256i low, __m256i high, uint8_t *out) {
  const __m256i words = Descaled<kByteShift>(low, high);
  const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
  _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm256_castsi256_si128(bytes));
}

}  // namespace

template <class Out>
void FilterColumnsAvx2(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                       Out *out) {
  __m256i pairs[kMaxVectorTaps / 2];
  for (int t = 0; t < taps && taps <= kMaxVectorTaps; t += 2)
    pairs[t / 2] = _mm256_set1_epi32(ChromaFilter::WeightPair(weights, t, taps));
  int x = 0;
  for (; x + 16 <= width && taps <= kMaxVectorTaps; x += 16) {
    __m256i low = _mm256_setzero_si256(), high = _mm256_setzero_si256();
    for (int t = 0; t < taps; t += 2) {
      const __m256i even = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(rows[t] + x));
      const __m256i odd =
          t + 1 < taps ? _mm256_loadu_si256(reinterpret_cast<const __m256i *>(rows[t + 1] + x))
                       : _mm256_setzero_si256();
      low =
          _mm256_add_epi32(low, _mm256_madd_epi16(_mm256_unpacklo_epi16(even, odd), pairs[t / 2]));
      high =
          _mm256_add_epi32(high, _mm256_madd_epi16(_mm256_unpackhi_epi16(even, odd), pairs[t / 2]));
    }
    StoreSixteen(low, high, out + x);
  }
  FilterColumnsScalar(rows, weights, taps, x, width, out);
}

template void FilterColumnsAvx2(const int16_t *const *, const int16_t *, int, int, int16_t *);
template void FilterColumnsAvx2(const int16_t *const *, const int16_t *, int, int, uint8_t *);

}  // namespace quorlin_resizer
