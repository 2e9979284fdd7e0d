// The rows of the frame conversions and of the chroma resampler in the fastest form this
// processor runs, chosen once for the whole program: the AVX2 forms where the kernels' own check
// finds AVX2, else the SSE2 ones. Each form, and the plain reference beside it, stays declared
// with its own code (Yc48Rows.h, ChromaRows.h, ChromaColumns.h), where the tests reach it.
#pragma once

#include <cstdint>

#include "frames/ChromaFilter.h"
#include "hostsdk/AviUtlPlugin.h"

namespace quorlin_resizer {

// ToYc48RowPlain's result.
void ToYc48Row(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
               bool pairedChroma, PIXEL_YC *out);
// ToYc48RowFromFractionsPlain's result.
void ToYc48RowFromFractions(const uint8_t *luma, const int16_t *u, const int16_t *v, int width,
                            PIXEL_YC *out);
// FromYc48RowPlain's result.
void FromYc48Row(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u, uint8_t *v);
// The whole output row of the chroma row pass, FilterRowScalar's result.
void FilterRow(const ChromaFilter &filter, const uint8_t *in, int16_t *out);
// Samples [0, width) of one output row of the chroma column pass, FilterColumnsScalar's result.
template <class Out>
void FilterColumns(const int16_t *const *rows, const int16_t *weights, int taps, int width,
                   Out *out);

}  // namespace quorlin_resizer
