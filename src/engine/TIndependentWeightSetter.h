// Weight setter for separate luma and chroma window functions: separate-weight tables whose
// blocks hold a luma set and a chroma set, each summing to 16384.
#pragma once

#include <cstdint>

#include "engine/TWindowFuncWeightSetter.h"
#include "contracts/WindowFuncInfo.h"

class TIndependentWeightSetter : public TWindowFuncWeightSetter {
 public:
  TIndependentWeightSetter() : TWindowFuncWeightSetter(kSeparateWeights) {}

  // Releases the instances held, creates the luma instance and then the chroma instance, and
  // takes the larger of their radii as the common radius. Returns false when either Create
  // failed; the setter then works with the failed handle all the same.
  bool SetWindowFuncs(const WindowFuncInfo *luma, const WindowFuncInfo *chroma,
                      int32_t lumaParam, int32_t chromaParam) {
    return CreateInstances({{luma, lumaParam}, {chroma, chromaParam}});
  }

  const WindowFuncInfo *LumaInfo() const { return Luma().Info(); }
  const WindowFuncInfo *ChromaInfo() const { return Chroma().Info(); }

 protected:
  const WindowFuncInstance &Luma() const { return Function(0); }
  const WindowFuncInstance &Chroma() const { return Function(1); }
};
