// The built-in "NearestNeighbor" method: every output copies the source sample under its centre.
#pragma once

#include "engine/TWeightSetter.h"

class TNearestNeighbor : public TWeightSetter {
 public:
  TNearestNeighbor() : TWeightSetter(kSharedWeights) {}

  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  // The same table as shrinking.
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;
};
