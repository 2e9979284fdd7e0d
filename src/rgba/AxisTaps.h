// One axis's taps as the RGBA kernels read them: the engine's weight table (14-bit coefficients
// summing to 1) turned into float weights, every output given the same tap count (shorter blocks
// padded with zero weights) and laid out in groups of outputs side by side.
#pragma once

#include <cstdint>
#include <vector>

#include "common/RgbaKernel.h"
#include "engine/TWeightSetter.h"

namespace rgba {

class AxisTaps {
 public:
  // The taps of srcLen -> dstLen samples from `setter` (an unchanged length copies each sample), in
  // groups of `groupPixels` outputs, each weight repeated `repeats` times. Throws std::bad_alloc
  // when memory runs out.
  AxisTaps(TWeightSetter &setter, int32_t srcLen, int32_t dstLen, int32_t groupPixels,
           int32_t repeats);

  int32_t TapCount() const { return tapCount_; }
  int32_t First(int32_t output) const { return first_[output]; }
  // The weights of output `output` of a table without repeats, one per tap.
  const float *WeightsOf(int32_t output) const { return weights_.data() + output * tapCount_; }
  // The taps of a table with four repeats, for the kernels' horizontal filter.
  kernels::RgbaRowTaps RowTaps() const;

 private:
  const int32_t dstLen_;
  int32_t tapCount_ = 0;
  std::vector<int32_t> first_;
  std::vector<float> weights_;
};

}  // namespace rgba
