#include "engine/TNormalWeightSetter.h"

#include <vector>

#include "engine/BlockPool.h"
#include "engine/CoefficientSet.h"
#include "engine/TableAllocation.h"
#include "engine/WindowTaps.h"

namespace {

// Blocks follow one another without a gap: PairCount, then the pairs of two coefficients.
uint64_t PoolBytes(int32_t tapCount, int32_t dstLen) {
  const uint64_t maxPairs = static_cast<uint64_t>((tapCount / 2 + 2) & ~1);
  return static_cast<uint64_t>(dstLen) * (8 + 4 * maxPairs);
}

}  // namespace

TNormalWeightSetter::~TNormalWeightSetter() { ReleaseWindowFuncs(); }

bool TNormalWeightSetter::SetWindowFunc(const WindowFuncInfo *info, int32_t param) {
  ReleaseWindowFuncs();
  const bool created = func_.Create(info, param);
  radius_ = func_.Radius();
  return created;
}

void TNormalWeightSetter::ReleaseWindowFuncs() { func_.Release(); }

void TNormalWeightSetter::SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                           int32_t step, int32_t) {
  BuildTable(ResizeDirection::Shrink, table, srcLen, dstLen, step);
}

void TNormalWeightSetter::SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                            int32_t step, int32_t) {
  BuildTable(ResizeDirection::Enlarge, table, srcLen, dstLen, step);
}

void TNormalWeightSetter::BuildTable(ResizeDirection direction, WeightTable *table,
                                     int32_t srcLen, int32_t dstLen, int32_t step) {
  const AxisGeometry axis{direction, srcLen, dstLen};
  const WindowReach reach{radius_, TapCount(direction, radius_, srcLen, dstLen)};
  AllocateTable(table, PoolBytes(reach.TapCount, dstLen), dstLen);

  std::vector<TapRemainder *> sortList;
  CoefficientSet set(2 * (reach.TapCount / 2 + 1), &sortList);
  const FunctionSlots function{&func_, set.Slots()};
  BlockPool pool(table->Pool, 0, 1);
  for (int32_t i = 0; i < dstLen; ++i) {
    const GatheredBlock block = GatherWindowTaps(axis, i, reach, &function, 1);
    table->Entries[i].Coeffs =
        set.StoreBlock(pool, block.Layout.SlotCount(), block.CentreSlot);
    table->Entries[i].Offset = block.Layout.Lo() / 2 * step;
  }
}
