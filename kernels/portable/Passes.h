// The kernel routines: horizontal in place, vertical, and both axes over the tiles, for one
// frame format and one coefficient layout each.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "RowFilters.h"
#include "WorkAreas.h"
#include "engine/ResizeParams.h"

namespace portable {

// The lines [Begin, End) of `total` that thread `index` of `count` filters.
struct LineShare {
  int32_t Begin, End;
};

inline LineShare ShareOf(int32_t total, int32_t index, int32_t count) {
  return {static_cast<int32_t>(static_cast<int64_t>(total) * index / count),
          static_cast<int32_t>(static_cast<int64_t>(total) * (index + 1) / count)};
}

template <class Format>
typename Format::Sample *FrameLine(void *frame, int32_t lineSize, int32_t y) {
  return reinterpret_cast<typename Format::Sample *>(static_cast<uint8_t *>(frame) +
                                                     static_cast<size_t>(lineSize) * y);
}

// Output pixels [xBegin, xEnd) of one row from a padded source row.
template <class Format, class Layout>
void FilterRow(const typename Format::Sample *row, const ResizeParams &p, int32_t xBegin,
               int32_t xEnd, typename Format::Sample *out) {
  if constexpr (std::is_same<Format, YUY2Format>::value)
    FilterRowYUY2(row, p.HWeights.Entries, p.HStep, xBegin, xEnd, out);
  else
    FilterRowYC48<Layout>(row, p.HWeights.Entries, p.HStep, xBegin, xEnd, out);
}

// Width only: each thread takes whole rows. The output overwrites the row it is computed from,
// so the row is first copied into the thread's work slice, padded with zeros.
template <class Format, class Layout>
void __cdecl ResizeHorizontal(void *dst, const void *src, ResizeParams *p, int32_t index,
                              int32_t count) {
  using Sample = typename Format::Sample;
  constexpr int kSpp = Format::kSamplesPerPixel;
  Sample *copy = WorkSlice<Sample>(p->Work1, p->Work1Size, index);
  const SourceFrame<Format> source{src, p->LineSize, p->SrcHeight};
  const int32_t rowSamples = p->SrcWidth * kSpp;
  std::fill(copy + rowSamples, copy + RowCapacityPixels(p->SrcWidth) * kSpp, Sample(0));
  const LineShare rows = ShareOf(p->SrcHeight, index, count);
  for (int32_t y = rows.Begin; y < rows.End; ++y) {
    std::copy(source.Line(y), source.Line(y) + rowSamples, copy);
    FilterRow<Format, Layout>(copy, *p, 0, p->DstWidth, FrameLine<Format>(dst, p->LineSize, y));
  }
}

// Height only: each thread takes a share of the output lines. Offsets are in LinePairStep units.
template <class Format, class Layout>
void __cdecl ResizeVertical(void *dst, const void *src, ResizeParams *p, int32_t index,
                            int32_t count) {
  uint32_t *sums = WorkSlice<uint32_t>(p->Work1, p->Work1Size, index);
  const SourceFrame<Format> source{src, p->LineSize, p->SrcHeight};
  const LineShare rows = ShareOf(p->DstHeight, index, count);
  for (int32_t y = rows.Begin; y < rows.End; ++y) {
    const WeightEntry &entry = p->VWeights.Entries[y];
    FilterLineVertically<Format, Layout>(source, entry, entry.Offset / p->LinePairStep, 0,
                                         p->SrcWidth, sums, FrameLine<Format>(dst, p->LineSize, y));
  }
}

// The source pixels a column tile reads, kept inside a padded row: [Begin, ReadEnd) lie in the
// frame, [ReadEnd, End) past its right edge.
struct TileColumns {
  int32_t Begin, ReadEnd, End;
};

inline TileColumns SourceColumnsOf(const TileRange &tile, int32_t srcWidth) {
  const int32_t capacity = RowCapacityPixels(srcWidth);
  const int32_t begin = std::min(std::max(2 * tile.FirstUnit, 0), capacity);
  const int32_t end = std::min(std::max(2 * (tile.FirstUnit + tile.UnitCount), begin), capacity);
  return {begin, std::max(std::min(end, srcWidth), begin), end};
}

// One tile of the combined pass: the tile's source columns are filtered vertically, rounded and
// clamped like an output, for each of its output rows into `rows` (one padded source row each,
// at the row's own positions), which are then filtered horizontally into the output.
template <class Format, class Layout>
void FilterTile(void *dst, const SourceFrame<Format> &source, const ResizeParams &p,
                int32_t tileX, int32_t tileY, uint32_t *sums, typename Format::Sample *rows) {
  using Sample = typename Format::Sample;
  constexpr int kSpp = Format::kSamplesPerPixel;
  const int32_t rowSamples = RowCapacityPixels(p.SrcWidth) * kSpp;
  const TileColumns columns = SourceColumnsOf(p.ColumnTiles[tileX], p.SrcWidth);
  const int32_t yBegin = tileY * static_cast<int32_t>(kBlockHeight);
  const int32_t yEnd = std::min(yBegin + static_cast<int32_t>(kBlockHeight), p.DstHeight);
  const int32_t xBegin = tileX * static_cast<int32_t>(kBlockWidth);
  const int32_t xEnd = std::min(xBegin + static_cast<int32_t>(kBlockWidth), p.DstWidth);

  for (int32_t y = yBegin; y < yEnd; ++y) {
    Sample *row = rows + (y - yBegin) * rowSamples;
    const WeightEntry &entry = p.VWeights.Entries[y];
    FilterLineVertically<Format, Layout>(source, entry, entry.Offset / kCombinedVStep,
                                         columns.Begin, columns.ReadEnd, sums,
                                         row + columns.Begin * kSpp);
    std::fill(row + columns.ReadEnd * kSpp, row + columns.End * kSpp, Sample(0));
  }
  for (int32_t y = yBegin; y < yEnd; ++y)
    FilterRow<Format, Layout>(rows + (y - yBegin) * rowSamples, p, xBegin, xEnd,
                              FrameLine<Format>(dst, p.LineSize, y));
}

// Both axes: the threads take tiles one at a time through the shared tile counter, so threads
// without a tile left simply return.
template <class Format, class Layout>
void __cdecl ResizeCombined(void *dst, const void *src, ResizeParams *p, int32_t index, int32_t) {
  uint32_t *sums = WorkSlice<uint32_t>(p->Work1, p->Work1Size, index);
  auto *rows = WorkSlice<typename Format::Sample>(p->Work2, p->Work2Size, index);
  const SourceFrame<Format> source{src, p->LineSize, p->SrcHeight};
  for (;;) {
    const int32_t tile =
        InterlockedIncrement(reinterpret_cast<volatile LONG *>(&p->TileCounter)) - 1;
    if (tile >= p->TileCount) return;
    FilterTile<Format, Layout>(dst, source, *p, tile % p->TilesX, tile / p->TilesX, sums, rows);
  }
}

// The region a pass writes: DstWidth x SrcHeight, SrcWidth x DstHeight or DstWidth x DstHeight.
enum class PassShape { Horizontal, Vertical, Combined };

constexpr uint8_t kYUY2BlackLuma = 16;

// YUY2 frames come with separate-weight tables only: their horizontal table has the YUY2 layout
// of three entries per output pixel pair. A shared-weight table has one entry per column and
// cannot be read that way. These routines fill the YUY2 record's shared-weight slots: they read
// no table and no source and write black over the pass's output region, so a setter of the
// wrong kind shows as a black frame instead of reading past a table.
template <PassShape Shape>
void __cdecl FillYUY2Black(void *dst, const void *, ResizeParams *p, int32_t index,
                           int32_t count) {
  const int32_t width = Shape == PassShape::Vertical ? p->SrcWidth : p->DstWidth;
  const int32_t height = Shape == PassShape::Horizontal ? p->SrcHeight : p->DstHeight;
  const LineShare rows = ShareOf(height, index, count);
  for (int32_t y = rows.Begin; y < rows.End; ++y) {
    uint8_t *line = FrameLine<YUY2Format>(dst, p->LineSize, y);
    for (int32_t x = 0; x < width; ++x) {
      line[2 * x] = kYUY2BlackLuma;
      line[2 * x + 1] = YUY2Format::kNeutralChroma;
    }
  }
}

}  // namespace portable
