// One row of YC48 pixels from 8-bit planar rows, by the editor's studio-range scaling
// (LumaToYc48, ChromaToYc48). The chroma rows hold one sample per pixel, or with
// `pairedChroma` one per pixel pair. The plain loop, on the reference functions, is the
// reference; the other computes eight pixels at a time with SSE2 in fixed point,
// ((v - 16) * 19152 + 512) >> 10 for luma and ((v - 128) * 18724 + 508) >> 10 for chroma,
// which equal the rounded divisions for every byte value, and finishes the row with the plain
// loop.
#pragma once

#include <cstdint>

#include "host/AviUtlPlugin.h"

namespace quorlin_host {

void ToYc48Row(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
               bool pairedChroma, PIXEL_YC *out);
void ToYc48RowPlain(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
                    bool pairedChroma, PIXEL_YC *out);

}  // namespace quorlin_host
