#include "engine/YUY2ChromaTaps.h"

#include <algorithm>

namespace {

int32_t FloorHalf(int32_t v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

TapRun RunOf(const AxisGeometry &axis, int32_t column, const WindowReach &reach) {
  return TapRun(axis.Direction, column, axis.SrcLen, axis.DstLen, reach.Radius, reach.TapCount);
}

}  // namespace

YUY2ChromaLayout::YUY2ChromaLayout(int32_t first, int32_t last, int32_t srcLen)
    : lo_(first >= 0 ? first / 2 : 0) {
  par_ = lo_ % 2;
  span_ = last < srcLen ? FloorHalf(last) - lo_ : srcLen / 2 - 1 - lo_;
  lastReached_ = FloorHalf(last) - lo_ + par_ + 1;
  slotCount_ = (span_ + par_ + 2) & ~1;
}

void YUY2ChromaLayout::ClearSlots(double *slots) const {
  std::fill(slots, slots + lastReached_ + 1, 0.0);
}

void YUY2ChromaLayout::Place(double *slots, int32_t k, double w) const {
  if (k <= 0) {
    slots[0] += w;  // undivided, even at an odd position before the line
  } else if (k % 2 == 0) {
    slots[k / 2 - lo_ + par_] += w;
  } else {
    const int32_t before = k / 2 - lo_ + par_;
    slots[before] += w / 2;
    slots[before + 1] += w / 2;
  }
}

void YUY2ChromaLayout::FoldRightEnd(double *slots) const {
  const int32_t end = span_ + par_;
  for (int32_t m = end + 1; m <= lastReached_; ++m) {
    if (slots[m] != 0.0) {
      slots[end] += slots[m];
      slots[m] = 0.0;
    }
  }
}

int32_t YUY2ChromaLayout::SlotNearest(int32_t sample) const {
  return std::clamp(sample, lo_, lo_ + span_) - lo_ + par_;
}

GatheredChromaBlock GatherYUY2ChromaTaps(const AxisGeometry &axis, int32_t evenColumn,
                                         const WindowReach &reach,
                                         const WindowFuncInstance &chroma, double *slots) {
  const bool shrinking = axis.Direction == ResizeDirection::Shrink;
  const TapRun evenRun = RunOf(axis, evenColumn, reach);
  const TapRun lastRun = shrinking ? RunOf(axis, evenColumn + 1, reach) : evenRun;
  const YUY2ChromaLayout layout(evenRun.First(), lastRun.Last(), axis.SrcLen);

  layout.ClearSlots(slots);
  const auto place = [&](int32_t k, double t) { layout.Place(slots, k, chroma.Evaluate(t)); };
  evenRun.ForEachTap(place);
  if (shrinking) lastRun.ForEachTap(place);
  layout.FoldRightEnd(slots);

  const int32_t centre = CentreSample(evenColumn, axis.SrcLen, axis.DstLen) / 2;
  return {layout, layout.SlotNearest(centre)};
}

int32_t YUY2ChromaSlotCapacity(const AxisGeometry &axis, int32_t tapCount) {
  // The runs of a shrinking pair start at most S div D + 1 luma positions apart.
  const int32_t stretch =
      axis.Direction == ResizeDirection::Shrink ? axis.SrcLen / axis.DstLen + 1 : 0;
  return (tapCount + stretch) / 2 + 4;
}
