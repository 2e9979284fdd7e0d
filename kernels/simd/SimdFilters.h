// The filters of a SIMD kernel, for one instruction set's vector operations (`Ops`), behind
// the interface the shared pass templates use (portable/Passes.h): the vertical filter and the
// tile sizes (SimdLineFilters), and the prepared rows and row filters of a kernel that filters
// rows one at a time (SimdFilters). Lines and rows too short for a vector step, and the last
// odd YUY2 column, take the portable scalar filters.
#pragma once

#include <cstdint>
#include <type_traits>

#include "HorizontalYC48.h"
#include "HorizontalYUY2.h"
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

  static int32_t LineScratchBytes(int32_t, int32_t srcHeight) {
    return Vertical::ScratchBytes(srcHeight);
  }

  static void FilterLine(const portable::SourceFrame<Format> &source, const WeightEntry &entry,
                         int32_t firstLinePair, int32_t pixelBegin, int32_t pixelEnd,
                         void *scratch, Sample *out) {
    Vertical::Filter(source, entry, firstLinePair, pixelBegin, pixelEnd, scratch, out);
  }
};

template <class Ops, class FrameFormat, class CoeffLayout>
struct SimdFilters : SimdLineFilters<Ops, FrameFormat, CoeffLayout> {
  using Format = FrameFormat;
  using Layout = CoeffLayout;
  using Sample = typename Format::Sample;

  static constexpr bool kYUY2 = std::is_same<Format, portable::YUY2Format>::value;
  using Horizontal =
      typename std::conditional<kYUY2, HorizontalYUY2, HorizontalYC48<Ops, Layout>>::type;

  static int32_t PreparedRowBytes(int32_t srcWidth) {
    return Horizontal::PreparedRowBytes(srcWidth);
  }

  static void PrepareRow(const Sample *line, const portable::TileColumns &columns,
                         const ResizeParams &p, void *prepared) {
    Horizontal::PrepareRow(line, columns, p, prepared);
  }

  using RowFilter = typename Horizontal::RowFilter;
};

}  // namespace simd
