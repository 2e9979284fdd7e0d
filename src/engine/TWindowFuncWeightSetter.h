// Base of the weight setters built on window functions. It owns the instances of one function
// (luma and chroma alike, shared-weight tables) or of two (luma, then chroma: separate-weight
// tables), and builds tables whose blocks hold one coefficient set per function, each summing
// to 16384, over the taps of the larger radius.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/TWeightSetter.h"
#include "engine/TapRun.h"
#include "engine/WindowFuncInstance.h"
#include "contracts/WindowFuncInfo.h"

// A window function as the settings choose it: the plug-in's record and the parameter that is
// passed to its Create unchanged.
struct WindowFuncChoice {
  const WindowFuncInfo *Info;
  int32_t Param;
};

class TWindowFuncWeightSetter : public TWeightSetter {
 public:
  ~TWindowFuncWeightSetter() override;
  TWindowFuncWeightSetter(const TWindowFuncWeightSetter &) = delete;
  TWindowFuncWeightSetter &operator=(const TWindowFuncWeightSetter &) = delete;

  void ReleaseWindowFuncs();

  // Shrinking stretches the windows by srcLen / dstLen, so that every source sample
  // contributes. With two functions, the one with the smaller radius is evaluated over the
  // wider range too.
  void SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) override;
  void SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                         int32_t horizontal) override;

  int32_t Radius() const { return radius_; }

 protected:
  // kSharedWeights: one function; kSeparateWeights: a luma and a chroma function.
  explicit TWindowFuncWeightSetter(uint8_t kind) : TWeightSetter(kind) {}

  // Releases the instances held, creates one instance per choice in order, then reads their
  // radii in the same order and keeps the largest. Returns false when any Create failed; the
  // setter then works with the failed handle all the same.
  bool CreateInstances(std::initializer_list<WindowFuncChoice> choices);
  const WindowFuncInstance &Function(int32_t index) const { return functions_[index]; }

  // The table of every function's coefficient sets, on either axis.
  void BuildTable(ResizeDirection direction, WeightTable *table, int32_t srcLen, int32_t dstLen,
                  int32_t step);

 private:
  int32_t FunctionCount() const { return WeightKind() == kSharedWeights ? 1 : 2; }

  int32_t radius_ = 0;
  WindowFuncInstance functions_[2];
};
