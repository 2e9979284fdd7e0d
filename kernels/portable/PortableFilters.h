// The portable kernel's filters (common/FilterContract.h): rows are filtered horizontally a
// tile's height at a time (TransposedTileFilter.h), and the scalar vertical filter sums into
// 32-bit accumulators held in the thread's work slice.
#pragma once

#include <cstdint>

#include "common/SampleFormats.h"
#include "common/ScalarVerticalFilter.h"
#include "portable/TransposedTileFilter.h"
#include "contracts/ResizeParams.h"

namespace kernels::portable {

template <class FrameFormat, class CoeffLayout>
struct PortableFilters {
  using Format = FrameFormat;
  using Layout = CoeffLayout;
  static constexpr uint32_t kBlockWidth = 256;  // even: YUY2 tiles hold whole output pixel pairs
  static constexpr uint32_t kBlockHeight = 16;
  using Sample = typename Format::Sample;
  static constexpr int kSpp = Format::kSamplesPerPixel;
  using TileFilter = TransposedTileFilter<Format, Layout>;

  static constexpr int32_t kLinesAtOnce = 1;

  static int32_t LineScratchBytes(int32_t srcWidth, int32_t) {
    return RowCapacityPixels(srcWidth) * kSpp * static_cast<int32_t>(sizeof(uint32_t));
  }

  // Into frame samples, or the combined pass's plain rows.
  template <typename Out>
  static void FilterLines(const SourceFrame<Format> &source, const WeightEntry *entries,
                          int32_t pairStep, int32_t, int32_t pixelBegin, int32_t pixelEnd,
                          void *scratch, Out *const *outs) {
    FilterLineVertically<Format, Layout>(source, entries[0], entries[0].Offset / pairStep,
                                         pixelBegin, pixelEnd, static_cast<uint32_t *>(scratch),
                                         outs[0]);
  }
};

}  // namespace kernels::portable
