// A weight setter whose tables are random (see RandomTables.h): the engine drives the kernel
// through its real tiling and thread dispatch, with tables unlike any setter's.
#pragma once

#include <cstdint>
#include <random>

#include "engine/TWeightSetter.h"
#include "kernels/RandomTables.h"

class RandomTableSetter : public TWeightSetter {
 public:
  // `yuy2`: separate-weight horizontal tables get the YUY2 layout.
  RandomTableSetter(uint8_t kind, bool yuy2, CoeffRange range, uint32_t seed)
      : TWeightSetter(kind), yuy2_(yuy2), range_(range), rng_(seed) {}

  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override {
    Build(table, srcLen, dstLen, step, horizontal);
  }
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override {
    Build(table, srcLen, dstLen, step, horizontal);
  }

 private:
  void Build(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step, int32_t horizontal) {
    const bool separate = WeightKind() == kSeparateWeights;
    if (yuy2_ && separate && horizontal != 0)
      BuildRandomYUY2HorizontalTable(rng_, table, srcLen, dstLen, step, range_);
    else
      BuildRandomAxisTable(rng_, table, srcLen, dstLen, step, separate ? 4 : 2, range_);
  }

  bool yuy2_;
  CoeffRange range_;
  std::mt19937 rng_;
};
