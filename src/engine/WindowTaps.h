// The per-output step every window-function table shares: find an output's taps, evaluate the
// window functions at each tap and gather the weights into the block's slots by the edge rule.
#pragma once

#include <cstdint>

#include "engine/TapBlockLayout.h"
#include "engine/TapRun.h"
#include "engine/WindowFuncInstance.h"

// One axis of one table build.
struct AxisGeometry {
  ResizeDirection Direction;
  int32_t SrcLen;
  int32_t DstLen;
};

// How far a build's windows reach: the radius that places the taps and the tap count.
struct WindowReach {
  int32_t Radius;
  int32_t TapCount;
};

// A window function and the slots its weights go into.
struct FunctionSlots {
  const WindowFuncInstance *Function;
  double *Slots;
};

// The block of one output after its taps were gathered.
struct GatheredBlock {
  TapBlockLayout Layout;
  int32_t CentreSlot;  // slot of the source sample nearest the output's centre
};

// Evaluates, at every tap of output `column` in ascending order, each of the `count`
// functions in turn (so luma before chroma), and puts each weight into that function's slots.
GatheredBlock GatherWindowTaps(const AxisGeometry &axis, int32_t column, const WindowReach &reach,
                               const FunctionSlots *functions, int32_t count);
