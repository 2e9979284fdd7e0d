// One row of 8-bit chroma through the chroma filter's row pass, into samples with
// kChromaFractionBits (ChromaColumns.h). FilterRow takes four output samples a step with SSE2's
// 16-bit multiply-adds over eight input samples at a time; FilterRowScalar is its reference and
// does the samples whose eight-sample reads would leave the row or the filter's weights.
#pragma once

#include <cstdint>

#include "resizer/ChromaFilter.h"

namespace quorlin_host {

// Output samples [begin, end) of the row `in` (filter.InLength() samples).
void FilterRowScalar(const ChromaFilter &filter, const uint8_t *in, int begin, int end,
                     int16_t *out);

// The whole output row, equal to FilterRowScalar's.
void FilterRow(const ChromaFilter &filter, const uint8_t *in, int16_t *out);

}  // namespace quorlin_host
