// One row of 8-bit chroma through the chroma filter's row pass, into samples with
// kChromaFractionBits (ChromaColumns.h). The vector forms take an upsampling filter's paired
// run (ChromaFilter.h) sixteen (SSE2) or thirty-two (AVX2) outputs a step, each phase's weights
// over consecutive input samples, and the outputs outside it four a step with SSE2's 16-bit
// multiply-adds over eight input samples at a time; FilterRowScalar is their reference and does
// the samples whose eight-sample reads would leave the row or the filter's weights.
#pragma once

#include <cstdint>

#include "frames/ChromaFilter.h"

namespace quorlin_resizer {

// Output samples [begin, end) of the row `in` (filter.InLength() samples).
void FilterRowScalar(const ChromaFilter &filter, const uint8_t *in, int begin, int end,
                     int16_t *out);

// The whole output row, equal to FilterRowScalar's. FastestRows.h chooses between them.
void FilterRowSse2(const ChromaFilter &filter, const uint8_t *in, int16_t *out);
// Only where RunsAvx2(ThisProcessor()).
void FilterRowAvx2(const ChromaFilter &filter, const uint8_t *in, int16_t *out);

// What the vector forms share.
// The longest filter a paired run takes.
constexpr int kMaxPairedRunTaps = 12;
// Whether the paired run takes `filter`, `outputsAStep` outputs a step.
bool PairedRunFits(const ChromaFilter &filter, int outputsAStep);
// The whole row after `pairedRun`, which filters the paired run's outputs from its start a
// wider step at a time and returns the end of those it did: the rest of the run sixteen outputs
// a step, then the outputs outside it four a step.
void FilterRowWith(int (*pairedRun)(const ChromaFilter &, const uint8_t *, int16_t *),
                   const ChromaFilter &filter, const uint8_t *in, int16_t *out);

}  // namespace quorlin_resizer
