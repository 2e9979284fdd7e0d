// Weight setter for one window function used for luma and chroma alike: shared-weight tables
// with one coefficient set per block.
#pragma once

#include <cstdint>

#include "engine/TWeightSetter.h"
#include "engine/TapRun.h"
#include "engine/WindowFuncInstance.h"
#include "plugins/WindowFuncInfo.h"

class TNormalWeightSetter : public TWeightSetter {
 public:
  TNormalWeightSetter() : TWeightSetter(kSharedWeights) {}
  ~TNormalWeightSetter() override;
  TNormalWeightSetter(const TNormalWeightSetter &) = delete;
  TNormalWeightSetter &operator=(const TNormalWeightSetter &) = delete;

  // Releases the instance held, creates one of `info` for `param` (passed to Create unchanged)
  // and records its radius. Returns false when Create failed; the setter then works with the
  // failed handle all the same.
  bool SetWindowFunc(const WindowFuncInfo *info, int32_t param);
  void ReleaseWindowFuncs();

  // Windows stretched by srcLen / dstLen, so that every source sample contributes.
  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;

  int32_t Radius() const { return radius_; }
  const WindowFuncInfo *FuncInfo() const { return func_.Info(); }

 private:
  void BuildTable(ResizeDirection direction, WeightTable *table, int32_t srcLen, int32_t dstLen,
                  int32_t step);

  int32_t radius_ = 0;
  WindowFuncInstance func_;
};
