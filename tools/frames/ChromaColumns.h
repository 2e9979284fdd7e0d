// One output row of the chroma column pass: the rows of the filter's taps weighted and summed,
// then rounded to the output's precision (samples with kChromaFractionBits, or bytes). Rows hold
// samples with kChromaFractionBits, weights ChromaFilter::kWeightBits. The vector forms take
// eight (SSE2) or sixteen (AVX2) samples a step with 16-bit multiply-adds, two taps at a time,
// for filters of up to kMaxVectorTaps taps; FilterColumnsScalar is their reference and does
// the row's last samples and longer filters.
#pragma once

#include <cstdint>

#include "frames/ChromaFraction.h"

namespace quorlin_resizer {

// Samples [begin, end) of the output row from rows[0 .. taps), weighted by weights[0 .. taps).
template <class Out>
void FilterColumnsScalar(const int16_t *const *rows, const int16_t *weights, int taps, int begin,
                         int end, Out *out);

// Taps the vector forms take: the longest filter, going down.
constexpr int kMaxVectorTaps = 12;

// Samples [0, width) of the output row, equal to FilterColumnsScalar's. FastestRows.h
// chooses between them.
template <class Out>
void FilterColumnsSse2(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                       Out *out);
// Only where RunsAvx2(ThisProcessor()).
template <class Out>
void FilterColumnsAvx2(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                       Out *out);

}  // namespace quorlin_resizer
