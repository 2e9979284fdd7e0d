// The two records of a kernel library, YC48 and YUY2, filled from the filters the library is
// built from (`Filters<Format, Layout>`, FilterContract.h). Every field is a constant, so the
// records need no code to run when the library loads.
#pragma once

#include "common/FilterContract.h"
#include "common/Passes.h"
#include "common/WorkAreas.h"
#include "contracts/FilterPluginInfo.h"

namespace kernels {

template <template <class, class> class Filters>
constexpr FilterPluginInfo YC48KernelRecord(const char *name) {
  using Shared = Filters<YC48Format, SharedWeights>;
  using Separate = Filters<YC48Format, SeparateWeights>;
  static_assert(MeetsFilterContract<Shared>() && MeetsFilterContract<Separate>());
  static_assert(Shared::kBlockWidth == Separate::kBlockWidth &&
                    Shared::kBlockHeight == Separate::kBlockHeight,
                "one tile size per record");
  return {name,
          &GetWorkSize1<Separate>,  // the separate-weight filters need at least as much
          &GetWorkSize2<Separate>,
          &ResizeHorizontal<Shared>,
          &ResizeVertical<Shared>,
          &ResizeHorizontal<Separate>,
          &ResizeVertical<Separate>,
          &ResizeCombined<Shared>,
          &ResizeCombined<Separate>,
          Separate::kBlockWidth,
          Separate::kBlockHeight,
          kCombinedVStep};
}

template <template <class, class> class Filters>
constexpr FilterPluginInfo YUY2KernelRecord(const char *name) {
  using Separate = Filters<YUY2Format, SeparateWeights>;
  static_assert(MeetsFilterContract<Separate>());
  static_assert(Separate::kBlockWidth % 2 == 0, "YUY2 tiles hold whole output pixel pairs");
  return {name,
          &GetWorkSize1<Separate>,
          &GetWorkSize2<Separate>,
          &FillYUY2Black<PassShape::Horizontal>,
          &FillYUY2Black<PassShape::Vertical>,
          &ResizeHorizontal<Separate>,
          &ResizeVertical<Separate>,
          &FillYUY2Black<PassShape::Combined>,
          &ResizeCombined<Separate>,
          Separate::kBlockWidth,
          Separate::kBlockHeight,
          kCombinedVStep};
}

}  // namespace kernels
