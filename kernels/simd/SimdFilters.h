// The vertical filter of a SIMD kernel, for one instruction set's vector operations (`Ops`),
// and its tile sizes, behind the interface the shared pass templates use (portable/Passes.h);
// a kernel adds its tile filters. Lines too short for a vector step take the portable filter.
#pragma once

#include <cstdint>
#include <type_traits>

#include "VerticalFilter.h"
#include "portable/RowFilters.h"
#include "portable/SampleFormats.h"

namespace simd {

// Tiles of the combined pass: whole-width strips where the frame allows, so that no source
// column is filtered vertically twice, and short enough that two threads share a frame evenly.
constexpr uint32_t kSimdBlockWidth = 2048;  // even: YUY2 tiles hold whole output pixel pairs
constexpr uint32_t kSimdBlockHeight = 8;

template <class Ops, class FrameFormat, class CoeffLayout>
struct SimdLineFilters {
  using Format = FrameFormat;
  using Layout = CoeffLayout;
  using Sample = typename Format::Sample;
  static constexpr int kSpp = Format::kSamplesPerPixel;
  static constexpr uint32_t kBlockWidth = kSimdBlockWidth;
  static constexpr uint32_t kBlockHeight = kSimdBlockHeight;
  using Vertical = VerticalFilter<Ops, Format, Layout>;

  static constexpr int32_t kLinesAtOnce = Vertical::kLinesAtOnce;

  static int32_t LineScratchBytes(int32_t, int32_t srcHeight) {
    return Vertical::ScratchBytes(srcHeight);
  }

  static void FilterLines(const portable::SourceFrame<Format> &source, const WeightEntry *entries,
                          int32_t pairStep, int32_t count, int32_t pixelBegin, int32_t pixelEnd,
                          void *scratch, Sample *const *outs) {
    Vertical::FilterLines(source, entries, pairStep, count, pixelBegin, pixelEnd, scratch, outs);
  }
};

// A SIMD kernel's filters for the pass templates: the line filters over `Ops`, and the tile
// filter of the frame format, YC48Tile<Layout> or YUY2Tile.
template <class Ops, template <class Layout> class YC48Tile, class YUY2Tile>
struct SimdKernel {
  template <class Format, class Layout>
  struct Filters : SimdLineFilters<Ops, Format, Layout> {
    using TileFilter = typename std::conditional<std::is_same<Format, portable::YUY2Format>::value,
                                                 YUY2Tile, YC48Tile<Layout>>::type;
  };
};

}  // namespace simd
