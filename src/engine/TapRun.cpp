#include "engine/TapRun.h"

#include <cmath>
#include <new>

int32_t TapCount(ResizeDirection direction, int32_t radius, int32_t srcLen, int32_t dstLen) {
  const int64_t width = 2 * static_cast<int64_t>(radius);
  const int64_t count = direction == ResizeDirection::Enlarge
                            ? width
                            : (width * srcLen + dstLen - 1) / dstLen;
  // Every output's block holds about count / 2 pairs; beyond this no pool fits in memory.
  if (count > INT32_MAX / 8) throw std::bad_alloc();
  return static_cast<int32_t>(count);
}

int32_t CentreSample(int32_t column, int32_t srcLen, int32_t dstLen) {
  const int32_t s = static_cast<int32_t>((column + 0.5) * srcLen / dstLen);
  return s < srcLen ? s : srcLen - 1;
}

TapRun::TapRun(ResizeDirection direction, int32_t column, int32_t srcLen, int32_t dstLen,
               int32_t radius, int32_t tapCount)
    : direction_(direction), column_(column), srcLen_(srcLen), dstLen_(dstLen) {
  if (direction == ResizeDirection::Enlarge) {
    const double centre = (column + 0.5) * srcLen / dstLen;
    first_ = static_cast<int32_t>(std::floor((centre - radius) + 0.5));
    firstEnlargeDistance_ = (first_ + 0.5) - centre;
  } else {
    first_ = static_cast<int32_t>(
        std::floor((static_cast<double>(column - radius) + 0.5) * srcLen / dstLen + 0.5));
  }
  last_ = first_ + tapCount - 1;
}

double TapRun::ShrinkDistance(int32_t k) const {
  return ((k + 0.5) * dstLen_) / srcLen_ - (column_ + 0.5);
}
