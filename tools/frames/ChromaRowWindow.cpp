#include "frames/ChromaRowWindow.h"

#include <algorithm>

#include "frames/ChromaFraction.h"
#include "frames/FastestRows.h"

namespace quorlin_resizer {

void ChromaRowWindow::Start(const uint8_t *plane, int width, const ChromaFilter *horizontal,
                            int held) {
  plane_ = plane;
  width_ = width;
  horizontal_ = horizontal;
  rowWidth_ = horizontal ? horizontal->OutLength() : width;
  rows_.resize(static_cast<size_t>(rowWidth_) * held);
  rowOfSlot_.assign(held, -1);
}

const int16_t *ChromaRowWindow::Row(int y) {
  const int slot = y % static_cast<int>(rowOfSlot_.size());
  int16_t *row = &rows_[static_cast<size_t>(slot) * rowWidth_];
  if (rowOfSlot_[slot] == y) return row;
  rowOfSlot_[slot] = y;
  const uint8_t *source = plane_ + static_cast<size_t>(y) * width_;
  if (horizontal_)
    FilterRow(*horizontal_, source, row);
  else
    for (int x = 0; x < width_; ++x)
      row[x] = static_cast<int16_t>(source[x] << kChromaFractionBits);
  return row;
}

}  // namespace quorlin_resizer
