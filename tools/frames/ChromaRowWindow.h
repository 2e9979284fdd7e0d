// The rows of one chroma plane after the row pass, kept only while the column pass needs them:
// a ring of as many rows as the column filter has taps, each filled when an output row first
// asks for it. Output rows are taken in order, and each reads consecutive rows from a start
// that never goes back, so a row is filtered once and the ring stays small enough for the
// processor's caches, where a whole filtered plane would not.
#pragma once

#include <cstdint>
#include <vector>

#include "frames/ChromaFilter.h"

namespace quorlin_resizer {

class ChromaRowWindow {
 public:
  // Rows of `plane` (`width` samples each) through `horizontal` (null: kept as they are, with
  // kChromaFractionBits), at most `held` of them at once.
  void Start(const uint8_t *plane, int width, const ChromaFilter *horizontal, int held);
  // Row `y` after the row pass, RowWidth() samples; valid until `held` further rows are asked for.
  const int16_t *Row(int y);
  int RowWidth() const { return rowWidth_; }
  // The ring's places for rows, each RowWidth() samples.
  int Slots() const { return static_cast<int>(rowOfSlot_.size()); }
  const int16_t *Slot(int slot) const { return &rows_[static_cast<size_t>(slot) * rowWidth_]; }

 private:
  const uint8_t *plane_ = nullptr;
  int width_ = 0, rowWidth_ = 0;
  const ChromaFilter *horizontal_ = nullptr;
  std::vector<int16_t> rows_;
  std::vector<int> rowOfSlot_;  // which row each slot holds, -1 for none
};

}  // namespace quorlin_resizer
