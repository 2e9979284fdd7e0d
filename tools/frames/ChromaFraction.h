// The precision of chroma between the resampler's passes and on its way into YC48: samples with
// 6 fraction bits, an 8-bit value v as v x 64, enough for what interpolation adds below a unit.
#pragma once

namespace quorlin_resizer {

constexpr int kChromaFractionBits = 6;

}  // namespace quorlin_resizer
