// Base of the weight setters: they build the per-axis WeightTable the kernels read.
#pragma once

#include <cstdint>

#include "contracts/WeightTable.h"

// Which kernel routines a setter's tables are made for.
enum : uint8_t {
  kSharedWeights = 0,    // one coefficient set for Y, Cb and Cr
  kSeparateWeights = 1,  // a luma set and a chroma set
};

class TWeightSetter {
 public:
  virtual ~TWeightSetter() = default;

  // Build a complete table of dstLen entries into `table` (whose fields the caller has cleared;
  // the caller owns the blocks afterwards). Shrink is called when dstLen < srcLen, enlarge when
  // dstLen > srcLen. `step` is the position unit per source pixel pair; `horizontal` is -1 for
  // the horizontal axis and 0 for the vertical one.
  virtual void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                                int32_t horizontal) = 0;
  virtual void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                                 int32_t horizontal) = 0;

  uint8_t WeightKind() const { return weightKind_; }

 protected:
  explicit TWeightSetter(uint8_t kind) : weightKind_(kind) {}

 private:
  const uint8_t weightKind_;
};
