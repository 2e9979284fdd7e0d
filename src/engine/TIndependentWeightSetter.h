// Weight setter for separate luma and chroma window functions: separate-weight tables whose
// blocks hold a luma set and a chroma set, each summing to 16384.
#pragma once

#include <cstdint>

#include "engine/TWeightSetter.h"
#include "engine/TapRun.h"
#include "engine/WindowFuncInstance.h"
#include "plugins/WindowFuncInfo.h"

class TIndependentWeightSetter : public TWeightSetter {
 public:
  TIndependentWeightSetter() : TWeightSetter(kSeparateWeights) {}
  ~TIndependentWeightSetter() override;
  TIndependentWeightSetter(const TIndependentWeightSetter &) = delete;
  TIndependentWeightSetter &operator=(const TIndependentWeightSetter &) = delete;

  // Releases the instances held, creates the luma instance and then the chroma instance, and
  // takes the larger of their radii as the common radius. Returns false when either Create
  // failed; the setter then works with the failed handle all the same.
  bool SetWindowFuncs(const WindowFuncInfo *luma, const WindowFuncInfo *chroma,
                      int32_t lumaParam, int32_t chromaParam);
  void ReleaseWindowFuncs();

  // Both sets take their taps over the common radius, so the function with the smaller
  // radius is evaluated over the wider range too.
  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;

  int32_t Radius() const { return radius_; }
  const WindowFuncInfo *LumaInfo() const { return luma_.Info(); }
  const WindowFuncInfo *ChromaInfo() const { return chroma_.Info(); }

 protected:
  const WindowFuncInstance &Luma() const { return luma_; }
  const WindowFuncInstance &Chroma() const { return chroma_; }

 private:
  void BuildTable(ResizeDirection direction, WeightTable *table, int32_t srcLen, int32_t dstLen,
                  int32_t step);

  int32_t radius_ = 0;
  WindowFuncInstance luma_;
  WindowFuncInstance chroma_;
};
