// One axis's taps as the RGBA kernels read them: the engine's weight table (14-bit coefficients
// summing to 1) turned into float weights, every output given the same tap count (shorter blocks
// padded with zero weights).
#pragma once

#include <cstdint>
#include <vector>

#include "common/RgbaKernel.h"
#include "engine/TWeightSetter.h"

namespace rgba {

class AxisTaps {
 public:
  // The taps of srcLen -> dstLen samples from `setter` (an unchanged length copies each sample).
  // Throws std::bad_alloc when memory runs out.
  AxisTaps(TWeightSetter &setter, int32_t srcLen, int32_t dstLen);

  int32_t TapCount() const { return tapCount_; }
  int32_t First(int32_t output) const { return first_[output]; }
  // The weights of output `output`, one per tap.
  const float *WeightsOf(int32_t output) const {
    return weights_.data() + static_cast<size_t>(output) * tapCount_;
  }
  // The taps as the kernels' horizontal filter reads them.
  kernels::RgbaRowTaps RowTaps() const;

 private:
  const int32_t dstLen_;
  int32_t tapCount_ = 0;
  std::vector<int32_t> first_;
  std::vector<float> weights_;
};

}  // namespace rgba
