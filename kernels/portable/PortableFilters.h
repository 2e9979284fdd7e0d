// The portable kernel's row and line filters behind the interface the pass templates use:
// a prepared row is a plain padded copy of the source row, and the vertical filter sums into
// 32-bit accumulators held in the thread's work slice.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "RowFilters.h"
#include "SampleFormats.h"
#include "TransposedTileFilter.h"
#include "engine/ResizeParams.h"

namespace portable {

template <class FrameFormat, class CoeffLayout>
struct PortableFilters {
  using Format = FrameFormat;
  using Layout = CoeffLayout;
  static constexpr uint32_t kBlockWidth = 256;  // even: YUY2 tiles hold whole output pixel pairs
  static constexpr uint32_t kBlockHeight = 16;
  using Sample = typename Format::Sample;
  static constexpr int kSpp = Format::kSamplesPerPixel;
  using TileFilter = TransposedTileFilter<Format, Layout>;

  static int32_t PreparedRowBytes(int32_t srcWidth) {
    return RowCapacityPixels(srcWidth) * kSpp * static_cast<int32_t>(sizeof(Sample));
  }
  static int32_t LineScratchBytes(int32_t srcWidth, int32_t) {
    return RowCapacityPixels(srcWidth) * kSpp * static_cast<int32_t>(sizeof(uint32_t));
  }

  // Copies pixels [Begin, ReadEnd) of `line` to the same positions of `prepared` and zeros
  // [ReadEnd, End).
  static void PrepareRow(const Sample *line, const TileColumns &columns, const ResizeParams &,
                         void *prepared) {
    Sample *row = static_cast<Sample *>(prepared);
    std::copy(line + columns.Begin * kSpp, line + columns.ReadEnd * kSpp, row + columns.Begin * kSpp);
    std::fill(row + columns.ReadEnd * kSpp, row + columns.End * kSpp, Sample(0));
  }

  // The horizontal filter of one pass. A kernel's row filter may derive a table from the
  // weight table when the pass starts, in its part of the work area (TableBytes for a target
  // width); the portable one reads the weight table as it is.
  class RowFilter {
   public:
    static int32_t TableBytes(int32_t) { return 0; }
    RowFilter(const ResizeParams &p, void *) : p_(p) {}

    // Output pixels [xBegin, xEnd) of one row from a prepared row.
    void Filter(const void *prepared, int32_t xBegin, int32_t xEnd, Sample *out) const {
      const Sample *row = static_cast<const Sample *>(prepared);
      if constexpr (std::is_same<Format, YUY2Format>::value)
        FilterRowYUY2(row, p_.HWeights.Entries, p_.HStep, xBegin, xEnd, out);
      else
        FilterRowYC48<Layout>(row, p_.HWeights.Entries, p_.HStep, xBegin, xEnd, out);
    }

   private:
    const ResizeParams &p_;
  };

  static void FilterLine(const SourceFrame<Format> &source, const WeightEntry &entry,
                         int32_t firstLinePair, int32_t pixelBegin, int32_t pixelEnd,
                         void *scratch, Sample *out) {
    FilterLineVertically<Format, Layout>(source, entry, firstLinePair, pixelBegin, pixelEnd,
                                         static_cast<uint32_t *>(scratch), out);
  }
};

}  // namespace portable
