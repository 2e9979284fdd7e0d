// The record a kernel library reports through "GetFilterPluginInfo2" (YC48 frames) or
// "GetYUY2FilterPluginInfo2" (packed YUY2 frames). It belongs to the library and is only read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contracts/Layout32.h"
#include "contracts/ResizeParams.h"

// Bytes of work area one thread needs; the second argument is always 8.
typedef int32_t(__cdecl *WorkSizeFunc)(const ResizeParams *params, int32_t unit);

// One pixel pass for the share of thread `index` out of `count` threads.
typedef void(__cdecl *KernelRoutine)(void *dst, const void *src, ResizeParams *params,
                                     int32_t index, int32_t count);

struct FilterPluginInfo {
  const char *Name;            // the kernel's name: lookup key and the text shown to the user
  WorkSizeFunc GetWorkSize1;
  WorkSizeFunc GetWorkSize2;
  KernelRoutine ResizeH;       // horizontal, in place, shared weights
  KernelRoutine ResizeV;       // vertical, shared weights
  KernelRoutine ResizeHSep;    // horizontal, in place, separate luma/chroma weights
  KernelRoutine ResizeVSep;    // vertical, separate weights
  KernelRoutine ResizeHV;      // both axes over the tiles, shared weights
  KernelRoutine ResizeHVSep;   // both axes over the tiles, separate weights
  uint32_t BlockWidth;         // output columns per tile of the combined pass (at least 1)
  uint32_t BlockHeight;        // output rows per tile (at least 1)
  int32_t CombinedVStep;       // vertical table's position unit in the combined pass (> 0)
};
CHECK_LAYOUT32(offsetof(FilterPluginInfo, ResizeH) == 12, "FilterPluginInfo layout");
CHECK_LAYOUT32(offsetof(FilterPluginInfo, ResizeHV) == 28, "FilterPluginInfo layout");
CHECK_LAYOUT32(offsetof(FilterPluginInfo, BlockWidth) == 36, "FilterPluginInfo layout");
CHECK_LAYOUT32(offsetof(FilterPluginInfo, CombinedVStep) == 44, "FilterPluginInfo layout");
CHECK_LAYOUT32(sizeof(FilterPluginInfo) == 48, "FilterPluginInfo layout");

typedef const FilterPluginInfo *(__stdcall *GetFilterPluginInfoFunc)();

// True when the engine can divide by the record's tile sizes and vertical step.
inline bool IsUsableKernel(const FilterPluginInfo &info) {
  return static_cast<int32_t>(info.BlockWidth) >= 1 && static_cast<int32_t>(info.BlockHeight) >= 1 &&
         info.CombinedVStep > 0;
}
