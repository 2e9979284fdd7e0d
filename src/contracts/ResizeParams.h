// The block every kernel routine receives by address: geometry, weight tables, work areas and
// the tiles of the combined pass. It crosses into the kernel libraries, so its layout is fixed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contracts/Layout32.h"
#include "contracts/WeightTable.h"

// One tile column or tile row of the combined pass.
struct TileRange {
  int32_t FirstUnit;     // first source unit the tile reads (FirstPos / step)
  int32_t FirstPos;      // Offset of the tile's first entry
  int32_t UnitCount;     // source units the tile's outputs read
  WeightEntry *FirstEntry;  // entry of the tile's first output
};
CHECK_LAYOUT32(sizeof(TileRange) == 16, "TileRange layout");
CHECK_LAYOUT32(offsetof(TileRange, FirstEntry) == 12, "TileRange layout");

struct ResizeParams {
  int32_t SrcWidth;      // frame size before resizing, pixels
  int32_t SrcHeight;
  int32_t DstWidth;      // target size, pixels
  int32_t DstHeight;
  int32_t LineSize;      // bytes per line of both frame buffers
  WeightTable HWeights;  // horizontal table (null on a height-only pass)
  WeightTable VWeights;  // vertical table (null on a width-only pass)
  int32_t HStep;         // horizontal position unit per source pixel pair: 48 YC48, 8 YUY2
  int32_t LinePairStep;  // 2 x LineSize: vertical unit of the vertical-only pass
  uint8_t *Work1;        // ThreadSlots slices of Work1Size bytes, 128-byte aligned, or null
  int32_t Work1Size;
  uint8_t *Work2;        // like Work1
  int32_t Work2Size;
  int32_t TileCount;     // TilesX x TilesY
  int32_t TilesX;        // ceil(DstWidth / BlockWidth)
  int32_t TilesY;        // ceil(DstHeight / BlockHeight)
  TileRange *ColumnTiles;  // TilesX entries
  TileRange *RowTiles;     // TilesY entries
  volatile int32_t TileCounter;  // zeroed before every dispatch; the routines' shared counter
};
CHECK_LAYOUT32(offsetof(ResizeParams, LineSize) == 16, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, HWeights) == 20, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, VWeights) == 28, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, HStep) == 36, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, LinePairStep) == 40, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, Work1) == 44, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, Work1Size) == 48, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, Work2) == 52, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, Work2Size) == 56, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, TileCount) == 60, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, TilesX) == 64, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, TilesY) == 68, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, ColumnTiles) == 72, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, RowTiles) == 76, "ResizeParams layout");
CHECK_LAYOUT32(offsetof(ResizeParams, TileCounter) == 80, "ResizeParams layout");
CHECK_LAYOUT32(sizeof(ResizeParams) == 84, "ResizeParams layout");
