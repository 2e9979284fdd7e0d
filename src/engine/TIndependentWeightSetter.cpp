#include "engine/TIndependentWeightSetter.h"

#include <vector>

#include "engine/BlockPool.h"
#include "engine/CoefficientSet.h"
#include "engine/TableAllocation.h"
#include "engine/WindowTaps.h"

namespace {

// Every block is preceded by 4 reserved bytes, so its coefficients start 8-byte aligned; a
// pair holds four coefficients (two luma, then two chroma).
constexpr int32_t kReservedBytes = 4;
constexpr int32_t kWordsPerPair = 2;

uint64_t PoolBytes(int32_t tapCount, int32_t dstLen) {
  return static_cast<uint64_t>(dstLen) * (8 + 8 * static_cast<uint64_t>(tapCount / 2 + 1));
}

// Writes pair by pair: luma even, luma odd, chroma even, chroma odd.
void InterleaveSets(int16_t *pairs, const int16_t *luma, const int16_t *chroma,
                    int32_t slotCount) {
  for (int32_t m = 0; m < slotCount; m += 2) {
    *pairs++ = luma[m];
    *pairs++ = luma[m + 1];
    *pairs++ = chroma[m];
    *pairs++ = chroma[m + 1];
  }
}

}  // namespace

TIndependentWeightSetter::~TIndependentWeightSetter() { ReleaseWindowFuncs(); }

bool TIndependentWeightSetter::SetWindowFuncs(const WindowFuncInfo *luma,
                                              const WindowFuncInfo *chroma, int32_t lumaParam,
                                              int32_t chromaParam) {
  ReleaseWindowFuncs();
  const bool lumaCreated = luma_.Create(luma, lumaParam);
  const bool chromaCreated = chroma_.Create(chroma, chromaParam);
  const int32_t lumaRadius = luma_.Radius();
  const int32_t chromaRadius = chroma_.Radius();
  radius_ = chromaRadius >= lumaRadius ? chromaRadius : lumaRadius;
  return lumaCreated && chromaCreated;
}

void TIndependentWeightSetter::ReleaseWindowFuncs() {
  luma_.Release();
  chroma_.Release();
}

void TIndependentWeightSetter::SetShrinkWeights(WeightTable *table, int32_t srcLen,
                                                int32_t dstLen, int32_t step, int32_t) {
  BuildTable(ResizeDirection::Shrink, table, srcLen, dstLen, step);
}

void TIndependentWeightSetter::SetEnlargeWeights(WeightTable *table, int32_t srcLen,
                                                 int32_t dstLen, int32_t step, int32_t) {
  BuildTable(ResizeDirection::Enlarge, table, srcLen, dstLen, step);
}

void TIndependentWeightSetter::BuildTable(ResizeDirection direction, WeightTable *table,
                                          int32_t srcLen, int32_t dstLen, int32_t step) {
  const AxisGeometry axis{direction, srcLen, dstLen};
  const WindowReach reach{radius_, TapCount(direction, radius_, srcLen, dstLen)};
  AllocateTable(table, PoolBytes(reach.TapCount, dstLen), dstLen);

  std::vector<TapRemainder *> sortList;
  const int32_t slotCapacity = 2 * (reach.TapCount / 2 + 1);
  CoefficientSet lumaSet(slotCapacity, &sortList);
  CoefficientSet chromaSet(slotCapacity, &sortList);
  const FunctionSlots functions[] = {{&luma_, lumaSet.Slots()}, {&chroma_, chromaSet.Slots()}};
  BlockPool pool(table->Pool, kReservedBytes, kWordsPerPair);
  for (int32_t i = 0; i < dstLen; ++i) {
    const GatheredBlock block = GatherWindowTaps(axis, i, reach, functions, 2);
    const int32_t slotCount = block.Layout.SlotCount();
    const int16_t *luma = lumaSet.Quantize(slotCount, block.CentreSlot);
    const int16_t *chroma = chromaSet.Quantize(slotCount, block.CentreSlot);
    InterleaveSets(pool.Open(slotCount / 2), luma, chroma, slotCount);
    table->Entries[i].Coeffs = pool.Close();
    table->Entries[i].Offset = block.Layout.Lo() / 2 * step;
  }
}
