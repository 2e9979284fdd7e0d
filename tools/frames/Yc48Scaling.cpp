#include "frames/Yc48Scaling.h"

#include <algorithm>

#include "frames/ChromaFraction.h"

namespace quorlin_resizer {

namespace {

// numerator / denominator rounded to nearest, halves upward; denominator > 0.
int RoundedDivide(int numerator, int denominator) {
  const int twice = 2 * numerator + denominator;
  const int quotient = twice / (2 * denominator);
  return twice % (2 * denominator) < 0 ? quotient - 1 : quotient;  // floor for negatives
}

uint8_t ClampToByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

int16_t LumaToYc48(uint8_t luma) {
  return static_cast<int16_t>(RoundedDivide((luma - 16) * 4096, 219));
}

int16_t ChromaToYc48(uint8_t chroma) {
  return static_cast<int16_t>(RoundedDivide((chroma - 128) * 4096, 224));
}

uint8_t Yc48ToLuma(int y) { return ClampToByte(16 + RoundedDivide(y * 219, 4096)); }

uint8_t Yc48ToChroma(int c) { return ClampToByte(128 + RoundedDivide(c * 224, 4096)); }

int16_t ChromaFractionToYc48(int chroma) {
  // (v - 128) x 4096 / 224 = (c - 8192) x 18724 / 2^16 to well within a unit, with the row
  // conversions' rounding constant 508, scaled by 64, so that multiples of 64 agree with them.
  constexpr int kOffset = 128 << kChromaFractionBits;
  return static_cast<int16_t>(((chroma - kOffset) * 18724 + (508 << kChromaFractionBits)) >> 16);
}

}  // namespace quorlin_resizer
