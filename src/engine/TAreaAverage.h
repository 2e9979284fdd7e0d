// The built-in "AreaAverage" method: when shrinking, each output averages the source samples
// its cell covers, weighted by the covered fraction of each; when enlarging, nearest neighbour.
#pragma once

#include "engine/TWeightSetter.h"

class TAreaAverage : public TWeightSetter {
 public:
  TAreaAverage() : TWeightSetter(kSharedWeights) {}

  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;
};
