// Weight setter for one window function used for luma and chroma alike: shared-weight tables
// with one coefficient set per block.
#pragma once

#include <cstdint>

#include "engine/TWindowFuncWeightSetter.h"
#include "contracts/WindowFuncInfo.h"

class TNormalWeightSetter : public TWindowFuncWeightSetter {
 public:
  TNormalWeightSetter() : TWindowFuncWeightSetter(kSharedWeights) {}

  // Releases the instance held, creates one of `info` for `param` (passed to Create unchanged)
  // and records its radius. Returns false when Create failed; the setter then works with the
  // failed handle all the same.
  bool SetWindowFunc(const WindowFuncInfo *info, int32_t param) {
    return CreateInstances({{info, param}});
  }

  const WindowFuncInfo *FuncInfo() const { return Function(0).Info(); }
};
