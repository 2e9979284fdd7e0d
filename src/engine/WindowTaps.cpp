#include "engine/WindowTaps.h"

GatheredBlock GatherWindowTaps(const AxisGeometry &axis, int32_t column, const WindowReach &reach,
                               const FunctionSlots *functions, int32_t count) {
  const TapRun run(axis.Direction, column, axis.SrcLen, axis.DstLen, reach.Radius,
                   reach.TapCount);
  const TapBlockLayout layout(run.First(), run.Last(), axis.SrcLen);
  for (int32_t f = 0; f < count; ++f) layout.ClearSlots(functions[f].Slots);
  run.ForEachTap([&](int32_t k, double t) {
    for (int32_t f = 0; f < count; ++f) {
      layout.Place(functions[f].Slots, k, functions[f].Function->Evaluate(t));
    }
  });
  return {layout, layout.SlotNearest(CentreSample(column, axis.SrcLen, axis.DstLen))};
}
