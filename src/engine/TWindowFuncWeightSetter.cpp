#include "engine/TWindowFuncWeightSetter.h"

#include <algorithm>
#include <vector>

#include "engine/BlockPool.h"
#include "engine/CoefficientSet.h"
#include "engine/TableAllocation.h"
#include "engine/WindowTaps.h"

namespace {

// Shared-weight blocks follow one another without a gap: PairCount, then pairs of two
// coefficients. Separate-weight blocks are each preceded by 4 reserved bytes, so that their
// coefficients start 8-byte aligned, and a pair holds four coefficients (two luma, then two
// chroma).
int32_t ReservedBytes(int32_t setCount) { return setCount == 1 ? 0 : 4; }

uint64_t PoolBytes(int32_t setCount, int32_t tapCount, int32_t dstLen) {
  const uint64_t maxPairs = static_cast<uint64_t>(tapCount / 2 + 1);
  const uint64_t blockBytes = setCount == 1 ? 8 + 4 * ((maxPairs + 1) & ~uint64_t{1})
                                            : 8 + 8 * maxPairs;
  return static_cast<uint64_t>(dstLen) * blockBytes;
}

// Writes pair by pair, each set's even then odd coefficient, the sets in order.
void InterleaveSets(int16_t *pairs, const int16_t *const *sets, int32_t setCount,
                    int32_t slotCount) {
  for (int32_t m = 0; m < slotCount; m += 2) {
    for (int32_t s = 0; s < setCount; ++s) {
      *pairs++ = sets[s][m];
      *pairs++ = sets[s][m + 1];
    }
  }
}

}  // namespace

TWindowFuncWeightSetter::~TWindowFuncWeightSetter() { ReleaseWindowFuncs(); }

void TWindowFuncWeightSetter::ReleaseWindowFuncs() {
  for (WindowFuncInstance &function : functions_) function.Release();
}

bool TWindowFuncWeightSetter::CreateInstances(std::initializer_list<WindowFuncChoice> choices) {
  ReleaseWindowFuncs();
  bool created = true;
  WindowFuncInstance *next = functions_;
  for (const WindowFuncChoice &choice : choices) {
    created = (next++)->Create(choice.Info, choice.Param) && created;
  }
  radius_ = 0;
  for (const WindowFuncInstance *f = functions_; f != next; ++f) {
    radius_ = std::max(radius_, f->Radius());
  }
  return created;
}

void TWindowFuncWeightSetter::SetShrinkWeights(WeightTable *table, int32_t srcLen,
                                               int32_t dstLen, int32_t step, int32_t) {
  BuildTable(ResizeDirection::Shrink, table, srcLen, dstLen, step);
}

void TWindowFuncWeightSetter::SetEnlargeWeights(WeightTable *table, int32_t srcLen,
                                                int32_t dstLen, int32_t step, int32_t) {
  BuildTable(ResizeDirection::Enlarge, table, srcLen, dstLen, step);
}

void TWindowFuncWeightSetter::BuildTable(ResizeDirection direction, WeightTable *table,
                                         int32_t srcLen, int32_t dstLen, int32_t step) {
  const int32_t count = FunctionCount();
  const AxisGeometry axis{direction, srcLen, dstLen};
  const WindowReach reach{radius_, TapCount(direction, radius_, srcLen, dstLen)};
  AllocateTable(table, PoolBytes(count, reach.TapCount, dstLen), dstLen);

  std::vector<TapRemainder *> sortList;
  std::vector<CoefficientSet> sets(count, CoefficientSet(2 * (reach.TapCount / 2 + 1), &sortList));
  FunctionSlots functions[2];
  for (int32_t f = 0; f < count; ++f) functions[f] = {&functions_[f], sets[f].Slots()};
  BlockPool pool(table->Pool, ReservedBytes(count), count);
  for (int32_t i = 0; i < dstLen; ++i) {
    const GatheredBlock block = GatherWindowTaps(axis, i, reach, functions, count);
    const int32_t slotCount = block.Layout.SlotCount();
    const int16_t *coefficients[2];
    for (int32_t f = 0; f < count; ++f) {
      coefficients[f] = sets[f].Quantize(slotCount, block.CentreSlot);
    }
    InterleaveSets(pool.Open(slotCount / 2), coefficients, count, slotCount);
    table->Entries[i].Coeffs = pool.Close();
    table->Entries[i].Offset = block.Layout.Lo() / 2 * step;
  }
}
