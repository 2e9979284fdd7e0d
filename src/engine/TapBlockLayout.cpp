#include "engine/TapBlockLayout.h"

#include <algorithm>

TapBlockLayout::TapBlockLayout(int32_t first, int32_t last, int32_t srcLen)
    : srcLen_(srcLen), lo_(std::max(first, 0)) {
  par_ = lo_ % 2;
  span_ = last < srcLen ? last - lo_ : srcLen - 1 - lo_;
  slotCount_ = (span_ + par_ + 2) & ~1;
}

void TapBlockLayout::ClearSlots(double *slots) const {
  slots[0] = 0.0;
  slots[(span_ + par_) | 1] = 0.0;  // the padding slot when the span ends mid-pair
}

void TapBlockLayout::Place(double *slots, int32_t k, double w) const {
  if (k <= 0) {
    slots[0] += w;
  } else if (k < srcLen_) {
    slots[k - lo_ + par_] = w;
  } else {
    slots[span_ + par_] += w;  // past the line: the weight belongs to sample S - 1
  }
}

int32_t TapBlockLayout::SlotNearest(int32_t sample) const {
  return std::clamp(sample, lo_, lo_ + span_) - lo_ + par_;
}
