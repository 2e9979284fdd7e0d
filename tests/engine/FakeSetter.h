// A weight setter that builds simple nearest-sample tables and records every build request.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/TWeightSetter.h"

struct BuildRequest {
  bool shrink;
  int32_t srcLen, dstLen, step, horizontal;
  uint16_t x87ControlWord;  // the control word the build ran under
};

class FakeSetter : public TWeightSetter {
 public:
  // `yuy2Horizontal`: horizontal tables in groups of three entries per output pixel pair.
  explicit FakeSetter(uint8_t kind = kSharedWeights, bool yuy2Horizontal = false)
      : TWeightSetter(kind), yuy2Horizontal_(yuy2Horizontal) {}

  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;

  std::vector<BuildRequest> requests;
  bool throwOnBuild = false;

 private:
  void Build(bool shrink, WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
             int32_t horizontal);
  bool yuy2Horizontal_;
};
