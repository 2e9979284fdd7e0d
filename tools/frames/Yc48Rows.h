// One row of YC48 pixels from 8-bit planar rows and back, by the editor's studio-range
// scaling (Yc48Scaling.h). The plain loops, on the
// reference functions, are the reference; the others compute eight pixels at a time with SSE2
// and finish the row with the plain loop. Both directions work in fixed point:
//   to YC48:   ((v - 16) * 19152 + 512) >> 10 for luma, ((v - 128) * 18724 + 508) >> 10 for
//              chroma, which equal the rounded divisions for every byte value;
//   from YC48: 16 + ((y * 219 + 2048) >> 12), 128 + ((c * 224 + 2048) >> 12), clamped to a
//              byte: a divisor of 4096 makes the rounded division a floor shift.
// The chroma rows towards YC48 hold one sample per pixel, or with `pairedChroma` one per pixel
// pair. Where the processor runs AVX2, rows of sixteen pixels at a time do the most of the
// row in both directions, with byte shuffles between YC48's interleaved samples and the planes;
// their YC48 rows that start on 32 bytes are written past the caches. FastestRows.h chooses
// among the forms.
#pragma once

#include <cstdint>

#include "hostsdk/AviUtlPlugin.h"

namespace quorlin_resizer {

void ToYc48RowPlain(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
                    bool pairedChroma, PIXEL_YC *out);
void ToYc48RowSse2(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
                   bool pairedChroma, PIXEL_YC *out);
// Only where RunsAvx2(ThisProcessor()).
void ToYc48RowAvx2(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
                   bool pairedChroma, PIXEL_YC *out);

// A row of YC48 pixels from 8-bit luma and chroma interpolated to every pixel, with
// kChromaFractionBits (ChromaFractionToYc48).
void ToYc48RowFromFractionsPlain(const uint8_t *luma, const int16_t *u, const int16_t *v,
                                 int width, PIXEL_YC *out);
void ToYc48RowFromFractionsSse2(const uint8_t *luma, const int16_t *u, const int16_t *v,
                                int width, PIXEL_YC *out);
// Only where RunsAvx2(ThisProcessor()).
void ToYc48RowFromFractionsAvx2(const uint8_t *luma, const int16_t *u, const int16_t *v,
                                int width, PIXEL_YC *out);

// A row of YC48 pixels into three 8-bit rows of `width` samples each.
void FromYc48RowPlain(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u,
                      uint8_t *v);
void FromYc48RowSse2(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u,
                     uint8_t *v);
// Only where RunsAvx2(ThisProcessor()).
void FromYc48RowAvx2(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u,
                     uint8_t *v);

}  // namespace quorlin_resizer
