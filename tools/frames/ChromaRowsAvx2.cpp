// The chroma row pass's paired run thirty-two outputs a step: the SSE2 run's arithmetic in
// 256-bit vectors. The only source of the row pass compiled for AVX2.
#include <immintrin.h>

#include "common/FixedPoint.h"
#include "frames/ChromaFraction.h"
#include "frames/ChromaRows.h"

namespace quorlin_resizer {

namespace {

constexpr int kShift = kernels::DescaleShift(0, kChromaFractionBits);
constexpr int kPairedOutputs = 32;

// The weights of one output as 32-bit pairs (t, t + 1), each repeated over a vector.
struct PhaseWeights {
  __m256i pairs[kMaxPairedRunTaps / 2];
  int count = 0;

  explicit PhaseWeights(const ChromaFilter &filter, int x) {
    for (int t = 0; t < filter.Taps(); t += 2, ++count)
      pairs[count] =
          _mm256_set1_epi32(ChromaFilter::WeightPair(filter.Weights(x), t, filter.Taps()));
  }
};

__m256i Rounded(__m256i sums) {
  return _mm256_srai_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(1 << (kShift - 1))), kShift);
}

// Sixteen outputs of one phase: output i from the taps at samples + i, rounded, in 16 bits.
// Interleaving works within 128-bit halves: `low` sums outputs 0-3 and 8-11, `high` 4-7 and
// 12-15, so the pack puts them in order.
__m256i SixteenOfPhase(const PhaseWeights &weights, const uint8_t *samples) {
  __m256i low = _mm256_setzero_si256(), high = _mm256_setzero_si256();
  for (int pair = 0; pair < weights.count; ++pair) {
    const uint8_t *tap = samples + 2 * pair;
    const __m256i even =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(tap)));
    const __m256i odd =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(tap + 1)));
    low = _mm256_add_epi32(
        low, _mm256_madd_epi16(_mm256_unpacklo_epi16(even, odd), weights.pairs[pair]));
    high = _mm256_add_epi32(
        high, _mm256_madd_epi16(_mm256_unpackhi_epi16(even, odd), weights.pairs[pair]));
  }
  return _mm256_packs_epi32(Rounded(low), Rounded(high));
}

int FilterPairedRunAvx2(const ChromaFilter &filter, const uint8_t *in, int16_t *out) {
  const int begin = filter.PairedBegin();
  if (!PairedRunFits(filter, kPairedOutputs)) return begin;
  const PhaseWeights even(filter, begin), odd(filter, begin + 1);
  const uint8_t *evenSamples = in + filter.First(begin), *oddSamples = in + filter.First(begin + 1);
  int x = begin;
  for (int k = 0; x + kPairedOutputs <= filter.PairedEnd(); x += kPairedOutputs, k += 16) {
    const __m256i a = SixteenOfPhase(even, evenSamples + k),
                  b = SixteenOfPhase(odd, oddSamples + k);
    // Within halves: outputs 0-7 and 16-23 interleaved in `low`, 8-15 and 24-31 in `high`.
    const __m256i low = _mm256_unpacklo_epi16(a, b), high = _mm256_unpackhi_epi16(a, b);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x),
                        _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x + 16),
                        _mm256_permute2x128_si256(low, high, 0x31));
  }
  return x;
}

}  // namespace

void FilterRowAvx2(const ChromaFilter &filter, const uint8_t *in, int16_t *out) {
  FilterRowWith(&FilterPairedRunAvx2, filter, in, out);
}

}  // namespace quorlin_resizer
