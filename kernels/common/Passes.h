// The kernel routines: horizontal in place, vertical, and both axes over the tiles. They are
// built from a kernel's `Filters` (FilterContract.h), so every kernel shares the thread shares,
// the tile loop and the work areas and differs only in how lines and tiles are filtered.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "common/FrameLines.h"
#include "common/SampleFormats.h"
#include "common/WorkAreas.h"
#include "contracts/ResizeParams.h"

namespace kernels {

// Vertical table unit of the combined pass: Offset is the index of the first source line pair.
constexpr int32_t kCombinedVStep = 1;

// The lines [Begin, End) of `total` that thread `index` of `count` filters.
struct LineShare {
  int32_t Begin, End;
};

inline LineShare ShareOf(int32_t total, int32_t index, int32_t count) {
  return {static_cast<int32_t>(static_cast<int64_t>(total) * index / count),
          static_cast<int32_t>(static_cast<int64_t>(total) * (index + 1) / count)};
}

// The vertical filter of output lines [begin, end), Filters::kLinesAtOnce at a time; line y
// goes to outLine(y), its pixels [pixelBegin, pixelEnd) from the pointer's position on, as
// frame samples or as plain rows, whichever outLine points to.
template <class Filters, class OutLine>
void FilterLines(const SourceFrame<typename Filters::Format> &source, const WeightEntry *entries,
                 int32_t pairStep, int32_t begin, int32_t end, int32_t pixelBegin,
                 int32_t pixelEnd, void *scratch, const OutLine &outLine) {
  constexpr int32_t kAtOnce = Filters::kLinesAtOnce;
  for (int32_t y = begin; y < end; y += kAtOnce) {
    const int32_t count = std::min(kAtOnce, end - y);
    decltype(outLine(y)) outs[kAtOnce];
    for (int32_t i = 0; i < count; ++i) outs[i] = outLine(y + i);
    Filters::FilterLines(source, entries + y, pairStep, count, pixelBegin, pixelEnd, scratch,
                         outs);
  }
}

// Width only: each thread takes whole rows, a tile's height at a time. The output overwrites
// the rows it is computed from, so the tile filter reads the rows in full before writing any.
template <class Filters>
void __cdecl ResizeHorizontal(void *dst, const void *src, ResizeParams *p, int32_t index,
                              int32_t count) {
  using Format = typename Filters::Format;
  constexpr int32_t kRows = Filters::TileFilter::kRows;
  const SourceFrame<Format> source{src, p->LineSize, p->SrcHeight};
  const TileColumns columns{0, p->SrcWidth, RowCapacityPixels(p->SrcWidth)};
  const LineShare rows = ShareOf(p->SrcHeight, index, count);
  if (rows.Begin == rows.End) return;
  const typename Filters::TileFilter tileFilter(*p, TileBuffer(*p, index));
  for (int32_t y = rows.Begin; y < rows.End; y += kRows) {
    const int32_t rowCount = std::min(kRows, rows.End - y);
    const typename Format::Sample *lines[kRows];
    for (int32_t r = 0; r < rowCount; ++r) lines[r] = source.Line(y + r);
    tileFilter.Filter(lines, rowCount, columns, 0, p->DstWidth,
                      FrameLine<Format>(dst, p->LineSize, y), p->LineSize);
  }
}

// Height only: each thread takes a share of the output lines. Offsets are in LinePairStep units.
template <class Filters>
void __cdecl ResizeVertical(void *dst, const void *src, ResizeParams *p, int32_t index,
                            int32_t count) {
  using Format = typename Filters::Format;
  void *scratch = WorkSlice<uint8_t>(p->Work1, p->Work1Size, index);
  const SourceFrame<Format> source{src, p->LineSize, p->SrcHeight};
  const LineShare rows = ShareOf(p->DstHeight, index, count);
  FilterLines<Filters>(source, p->VWeights.Entries, p->LinePairStep, rows.Begin, rows.End, 0,
                       p->SrcWidth, scratch,
                       [dst, p](int32_t y) { return FrameLine<Format>(dst, p->LineSize, y); });
}

inline TileColumns SourceColumnsOf(const TileRange &tile, int32_t srcWidth) {
  const int32_t capacity = RowCapacityPixels(srcWidth);
  const int32_t begin = std::min(std::max(2 * tile.FirstUnit, 0), capacity);
  const int32_t end = std::min(std::max(2 * (tile.FirstUnit + tile.UnitCount), begin), capacity);
  return {begin, std::max(std::min(end, srcWidth), begin), end};
}

// The outputs of one tile of the combined pass and the source columns they read.
struct TileArea {
  TileColumns Columns;
  int32_t XBegin, XEnd, YBegin, YEnd;
};

template <class Filters>
TileArea TileAreaOf(const ResizeParams &p, int32_t tileX, int32_t tileY) {
  constexpr int32_t kBlockWidth = static_cast<int32_t>(Filters::kBlockWidth);
  constexpr int32_t kBlockHeight = static_cast<int32_t>(Filters::kBlockHeight);
  const int32_t xBegin = tileX * kBlockWidth;
  const int32_t yBegin = tileY * kBlockHeight;
  return {SourceColumnsOf(p.ColumnTiles[tileX], p.SrcWidth), xBegin,
          std::min(xBegin + kBlockWidth, p.DstWidth), yBegin,
          std::min(yBegin + kBlockHeight, p.DstHeight)};
}

// One tile of the combined pass: every row is filtered vertically into the tile filter's plain
// rows, of the format's Intermediate samples (SampleFormats.h), then all rows horizontally
// together. The rows never leave the thread's work slice.
template <class Filters>
void FilterTile(void *dst, const SourceFrame<typename Filters::Format> &source,
                const ResizeParams &p, const TileArea &tile, void *scratch,
                const typename Filters::TileFilter &tileFilter) {
  using Format = typename Filters::Format;
  const TileColumns &columns = tile.Columns;
  const auto plainRow = [&](int32_t y) { return tileFilter.PlainRow(y - tile.YBegin); };
  FilterLines<Filters>(source, p.VWeights.Entries, kCombinedVStep, tile.YBegin, tile.YEnd,
                       columns.Begin, columns.ReadEnd, scratch,
                       [&](int32_t y) { return plainRow(y) + columns.Begin * Filters::kSpp; });
  const typename Format::Intermediate *rows[Filters::kBlockHeight] = {};
  for (int32_t y = tile.YBegin; y < tile.YEnd; ++y) rows[y - tile.YBegin] = plainRow(y);
  tileFilter.Filter(rows, tile.YEnd - tile.YBegin, columns, tile.XBegin, tile.XEnd,
                    FrameLine<Format>(dst, p.LineSize, tile.YBegin), p.LineSize);
}

// Both axes: the threads take tiles one at a time through the shared tile counter, so threads
// without a tile left simply return, and no thread waits while another still has several.
template <class Filters>
void __cdecl ResizeCombined(void *dst, const void *src, ResizeParams *p, int32_t index, int32_t) {
  void *scratch = WorkSlice<uint8_t>(p->Work1, p->Work1Size, index);
  const SourceFrame<typename Filters::Format> source{src, p->LineSize, p->SrcHeight};
  const auto nextTile = [p](TileArea &area) {
    const int32_t tile =
        InterlockedIncrement(reinterpret_cast<volatile LONG *>(&p->TileCounter)) - 1;
    if (tile >= p->TileCount) return false;
    area = TileAreaOf<Filters>(*p, tile % p->TilesX, tile / p->TilesX);
    return true;
  };
  const typename Filters::TileFilter tileFilter(*p, TileBuffer(*p, index));
  TileArea tile;
  while (nextTile(tile)) FilterTile<Filters>(dst, source, *p, tile, scratch, tileFilter);
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

}  // namespace kernels
