// The chroma block of one output pixel pair of a YUY2 line.
//
// Chroma sample c (the U and V of source pixel pair c) is co-sited with luma sample 2c. Taps
// are luma positions: an even tap k weighs chroma sample k / 2; an odd tap lies midway between
// two chroma samples and gives each half its weight. A pair's chroma, when shrinking, is the
// combined response of both its output columns; when enlarging it is that of its even column.
#pragma once

#include <cstdint>

#include "engine/WindowTaps.h"

class YUY2ChromaLayout {
 public:
  // `first` and `last` are the first and last luma tap of the pair's runs.
  YUY2ChromaLayout(int32_t first, int32_t last, int32_t srcLen);

  int32_t Lo() const { return lo_; }  // first chroma sample used
  int32_t SlotCount() const { return slotCount_; }

  // Zeroes every slot the taps can reach.
  void ClearSlots(double *slots) const;
  void Place(double *slots, int32_t k, double w) const;
  // Moves every weight beyond the span onto the span's last chroma sample: weights past the
  // line's end, and the half weight of an odd last tap inside the line.
  void FoldRightEnd(double *slots) const;
  // The slot of chroma sample `sample`, moved inside the block's real samples.
  int32_t SlotNearest(int32_t sample) const;

 private:
  int32_t lo_;
  int32_t par_;
  int32_t span_;
  int32_t lastReached_;  // highest slot a tap can reach
  int32_t slotCount_;
};

struct GatheredChromaBlock {
  YUY2ChromaLayout Layout;
  int32_t CentreSlot;  // slot of the chroma sample under the pair's even column
};

// Evaluates `chroma` at the taps of the pair whose even output column is `evenColumn` (both
// columns' runs when shrinking, run of the even column first) and gathers the weights into
// `slots`.
GatheredChromaBlock GatherYUY2ChromaTaps(const AxisGeometry &axis, int32_t evenColumn,
                                         const WindowReach &reach,
                                         const WindowFuncInstance &chroma, double *slots);

// Slots a chroma block can touch, for the slot array of a build.
int32_t YUY2ChromaSlotCapacity(const AxisGeometry &axis, int32_t tapCount);
