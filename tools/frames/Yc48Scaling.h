// The editor's scaling between 8-bit Y'CbCr values and YC48 samples, one value at a time: the
// reference that the row conversions (Yc48Rows.h) reach in fixed point.
//
// YC48 uses the editor's BT.601 studio-range scaling, rounded to nearest:
//   y  = (Y - 16) * 4096 / 219      Y 16..235 -> y 0..4096
//   cb = (U - 128) * 4096 / 224     U 16..240 -> cb -2048..2048 (cr from V alike)
// and back with the inverse, rounded and clamped to 0..255. Every 8-bit value survives the
// round trip unchanged.
#pragma once

#include <cstdint>

namespace quorlin_resizer {

int16_t LumaToYc48(uint8_t luma);
int16_t ChromaToYc48(uint8_t chroma);
uint8_t Yc48ToLuma(int y);
uint8_t Yc48ToChroma(int c);
// Chroma with kChromaFractionBits (an 8-bit value v as v x 64) to YC48, rounded as
// ChromaToYc48 rounds: equal to it for every multiple of 64.
int16_t ChromaFractionToYc48(int chroma);

}  // namespace quorlin_resizer
