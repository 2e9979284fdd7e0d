// Weight setter for YUY2 frames. Vertical tables are those of TIndependentWeightSetter.
// Horizontal tables hold, for every output pixel pair q, three entries: the luma of columns
// 2q and 2q + 1, then the pair's chroma (the same coefficients serve U and V). Luma entries
// count source luma samples; chroma entries count chroma samples, one per source pixel pair,
// and a chroma coefficient pair spans two source pixel pairs. Each block holds one set of
// two-coefficient pairs summing to 16384, after 4 reserved bytes. Luma and chroma use their
// own function's radius.
#pragma once

#include <cstdint>

#include "engine/TIndependentWeightSetter.h"

class TYUY2WeightSetter : public TIndependentWeightSetter {
 public:
  TYUY2WeightSetter() = default;

  // `horizontal` = 0: TIndependentWeightSetter's table; otherwise the YUY2 horizontal table.
  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;

 private:
  void BuildAxisTable(ResizeDirection direction, WeightTable *table, int32_t srcLen,
                      int32_t dstLen, int32_t step, int32_t horizontal);
  void BuildHorizontalTable(ResizeDirection direction, WeightTable *table, int32_t srcLen,
                            int32_t dstLen, int32_t step);
};
