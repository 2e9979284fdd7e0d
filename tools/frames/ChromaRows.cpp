#include "frames/ChromaRows.h"

#include <emmintrin.h>

#include <vector>

#include "common/FixedPoint.h"
#include "frames/ChromaFraction.h"

namespace quorlin_resizer {

namespace {

// Bytes times weights to samples with kChromaFractionBits.
constexpr int kShift = kernels::DescaleShift(0, kChromaFractionBits);
constexpr int kStep = 8;     // input samples (and weights) a multiply-add step reads
constexpr int kOutputs = 4;  // output samples a step of the four-output loop gives
constexpr int kPairedOutputs = 16;  // output samples a step over a paired run gives

int StepsOf(const ChromaFilter &filter) { return (filter.Taps() + kStep - 1) / kStep; }

// Whether output x's reads stay inside the row and the filter's weights: they run to the end of
// x's last step, past its own taps into the next output's weights and further input samples.
bool ReadsInside(const ChromaFilter &filter, int x) {
  const int readEnd = StepsOf(filter) * kStep;
  return x + 1 < filter.OutLength() && filter.First(x) + readEnd <= filter.InLength() &&
         static_cast<int64_t>(x) * filter.Taps() + readEnd <=
             static_cast<int64_t>(filter.OutLength()) * filter.Taps();
}

// For each step, all ones over the weights that belong to an output, zeros past its taps.
std::vector<int16_t> TapMasks(const ChromaFilter &filter) {
  std::vector<int16_t> masks(static_cast<size_t>(StepsOf(filter)) * kStep);
  for (int i = 0; i < static_cast<int>(masks.size()); ++i) masks[i] = i < filter.Taps() ? -1 : 0;
  return masks;
}

// The four 32-bit partial sums of output x: its taps against its input samples, the weights
// past its taps masked to zero.
__m128i PartialSums(const ChromaFilter &filter, const int16_t *masks, const uint8_t *in, int x) {
  const __m128i zero = _mm_setzero_si128();
  const uint8_t *samples = in + filter.First(x);
  const int16_t *weights = filter.Weights(x);
  __m128i sums = zero;
  for (int step = 0; step < StepsOf(filter); ++step) {
    const __m128i w = _mm_and_si128(
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(weights + step * kStep)),
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(masks + step * kStep)));
    const __m128i s = _mm_unpacklo_epi8(
        _mm_loadl_epi64(reinterpret_cast<const __m128i *>(samples + step * kStep)), zero);
    sums = _mm_add_epi32(sums, _mm_madd_epi16(s, w));
  }
  return sums;
}

// The totals of four outputs' partial sums, output i in lane i.
__m128i Totals(__m128i a, __m128i b, __m128i c, __m128i d) {
  const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
  const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
  return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
}

// Rounds four 32-bit sums to samples with kChromaFractionBits.
__m128i Rounded(__m128i sums) {
  return _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(1 << (kShift - 1))), kShift);
}

// Outputs [begin, end) four at a time while their reads stay inside, then one at a time.
void FilterFours(const ChromaFilter &filter, const uint8_t *in, int begin, int end,
                 int16_t *out) {
  const std::vector<int16_t> masks = TapMasks(filter);
  const int16_t *m = masks.data();
  int x = begin;
  // First() never decreases, so once an output's reads leave the row every later one's do.
  for (; x + kOutputs <= end && ReadsInside(filter, x + kOutputs - 1); x += kOutputs) {
    const __m128i sums =
        Totals(PartialSums(filter, m, in, x), PartialSums(filter, m, in, x + 1),
               PartialSums(filter, m, in, x + 2), PartialSums(filter, m, in, x + 3));
    const __m128i samples = Rounded(sums);
    _mm_storel_epi64(reinterpret_cast<__m128i *>(out + x), _mm_packs_epi32(samples, samples));
  }
  FilterRowScalar(filter, in, x, end, out);
}

// The weights of one output as 32-bit pairs (t, t + 1), each repeated over a vector.
struct PhaseWeights {
  __m128i pairs[kMaxPairedRunTaps / 2];
  int count = 0;

  explicit PhaseWeights(const ChromaFilter &filter, int x) {
    for (int t = 0; t < filter.Taps(); t += 2, ++count)
      pairs[count] = _mm_set1_epi32(ChromaFilter::WeightPair(filter.Weights(x), t, filter.Taps()));
  }
};

// Eight outputs of one phase: output i from the taps at samples + i, rounded, in 16 bits.
__m128i EightOfPhase(const PhaseWeights &weights, const uint8_t *samples) {
  const __m128i zero = _mm_setzero_si128();
  __m128i low = zero, high = zero;
  for (int pair = 0; pair < weights.count; ++pair) {
    const uint8_t *tap = samples + 2 * pair;
    const __m128i even = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(tap));
    const __m128i odd = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(tap + 1));
    const __m128i interleaved = _mm_unpacklo_epi8(even, odd);  // s[i], s[i + 1] per pair of bytes
    low = _mm_add_epi32(low,
                        _mm_madd_epi16(_mm_unpacklo_epi8(interleaved, zero), weights.pairs[pair]));
    high = _mm_add_epi32(high,
                         _mm_madd_epi16(_mm_unpackhi_epi8(interleaved, zero), weights.pairs[pair]));
  }
  return _mm_packs_epi32(Rounded(low), Rounded(high));
}

// The filter's paired run from output `from` on (an even count of outputs into the run),
// sixteen outputs a step: eight of each phase, each phase's weights over consecutive input
// samples, interleaved. Returns the end of the outputs done.
int FilterPairedRun(const ChromaFilter &filter, const uint8_t *in, int16_t *out, int from) {
  const int begin = filter.PairedBegin();
  if (!PairedRunFits(filter, kPairedOutputs)) return from;
  const PhaseWeights even(filter, begin), odd(filter, begin + 1);
  const uint8_t *evenSamples = in + filter.First(begin), *oddSamples = in + filter.First(begin + 1);
  int x = from;
  for (int k = (from - begin) / 2; x + kPairedOutputs <= filter.PairedEnd();
       x += kPairedOutputs, k += 8) {
    const __m128i a = EightOfPhase(even, evenSamples + k), b = EightOfPhase(odd, oddSamples + k);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + x), _mm_unpacklo_epi16(a, b));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + x + 8), _mm_unpackhi_epi16(a, b));
  }
  return x;
}

}  // namespace

void FilterRowScalar(const ChromaFilter &filter, const uint8_t *in, int begin, int end,
                     int16_t *out) {
  for (int x = begin; x < end; ++x) {
    const uint8_t *samples = in + filter.First(x);
    const int16_t *weights = filter.Weights(x);
    uint32_t sum = 0;
    for (int t = 0; t < filter.Taps(); ++t) sum = kernels::MulAdd(sum, weights[t], samples[t]);
    out[x] = static_cast<int16_t>(kernels::Descale<kShift>(sum));
  }
}

bool PairedRunFits(const ChromaFilter &filter, int outputsAStep) {
  // Each pair of taps reads the samples of both, so an odd count would read one past the last.
  return filter.Taps() <= kMaxPairedRunTaps && filter.Taps() % 2 == 0 &&
         filter.PairedEnd() - filter.PairedBegin() >= outputsAStep;
}

void FilterRowWith(int (*pairedRun)(const ChromaFilter &, const uint8_t *, int16_t *),
                   const ChromaFilter &filter, const uint8_t *in, int16_t *out) {
  const int pairedEnd = FilterPairedRun(filter, in, out, pairedRun(filter, in, out));
  FilterFours(filter, in, 0, filter.PairedBegin(), out);
  FilterFours(filter, in, pairedEnd, filter.OutLength(), out);
}

void FilterRowSse2(const ChromaFilter &filter, const uint8_t *in, int16_t *out) {
  FilterRowWith([](const ChromaFilter &f, const uint8_t *, int16_t *) { return f.PairedBegin(); },
                filter, in, out);
}

}  // namespace quorlin_resizer
