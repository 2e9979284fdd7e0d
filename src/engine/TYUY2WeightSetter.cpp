#include "engine/TYUY2WeightSetter.h"

#include <algorithm>
#include <vector>

#include "engine/BlockPool.h"
#include "engine/CoefficientSet.h"
#include "engine/TableAllocation.h"
#include "engine/WindowTaps.h"
#include "engine/YUY2ChromaTaps.h"

namespace {

constexpr int32_t kReservedBytes = 4;
constexpr int32_t kWordsPerPair = 1;

uint64_t RoundUpToEven(uint64_t v) { return (v + 1) & ~uint64_t{1}; }

// Room for the chroma blocks of every pixel pair and the luma blocks of every column, each
// with its reserved word and PairCount.
uint64_t PoolBytes(ResizeDirection direction, const WindowReach &luma, const WindowReach &chroma,
                   int32_t dstLen) {
  const uint64_t d = static_cast<uint64_t>(dstLen);
  if (direction == ResizeDirection::Shrink) {
    return d / 2 * (8 + 4 * RoundUpToEven(chroma.TapCount / 2 + 1)) +
           d * (8 + 4 * RoundUpToEven(luma.TapCount / 2 + 1));
  }
  return d * (8 + 4 * RoundUpToEven(luma.Radius + 1)) +
         d * (8 + 4 * RoundUpToEven((chroma.Radius + 1) / 2 + 1));
}

}  // namespace

void TYUY2WeightSetter::SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                         int32_t step, int32_t horizontal) {
  BuildAxisTable(ResizeDirection::Shrink, table, srcLen, dstLen, step, horizontal);
}

void TYUY2WeightSetter::SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                          int32_t step, int32_t horizontal) {
  BuildAxisTable(ResizeDirection::Enlarge, table, srcLen, dstLen, step, horizontal);
}

void TYUY2WeightSetter::BuildAxisTable(ResizeDirection direction, WeightTable *table,
                                       int32_t srcLen, int32_t dstLen, int32_t step,
                                       int32_t horizontal) {
  if (horizontal == 0) {
    BuildTable(direction, table, srcLen, dstLen, step);
  } else {
    BuildHorizontalTable(direction, table, srcLen, dstLen, step);
  }
}

void TYUY2WeightSetter::BuildHorizontalTable(ResizeDirection direction, WeightTable *table,
                                             int32_t srcLen, int32_t dstLen, int32_t step) {
  const AxisGeometry axis{direction, srcLen, dstLen};
  const int32_t lumaRadius = Luma().Radius();
  const int32_t chromaRadius = Chroma().Radius();
  const WindowReach luma{lumaRadius, TapCount(direction, lumaRadius, srcLen, dstLen)};
  const WindowReach chroma{chromaRadius, TapCount(direction, chromaRadius, srcLen, dstLen)};
  AllocateTable(table, PoolBytes(direction, luma, chroma, dstLen),
                YUY2EntryGroup::TableEntries(dstLen));

  // One slot array serves the luma and the chroma blocks.
  std::vector<TapRemainder *> sortList;
  CoefficientSet set(std::max(2 * (luma.TapCount / 2 + 1),
                              YUY2ChromaSlotCapacity(axis, chroma.TapCount)),
                     &sortList);
  const FunctionSlots lumaFunction{&Luma(), set.Slots()};
  BlockPool pool(table->Pool, kReservedBytes, kWordsPerPair);
  for (int32_t i = 0; i < dstLen; ++i) {
    const YUY2EntryGroup group(table->Entries, i / 2);
    const GatheredBlock lumaBlock = GatherWindowTaps(axis, i, luma, &lumaFunction, 1);
    WeightEntry &lumaEntry = group.Luma(i);
    lumaEntry.Coeffs = set.StoreBlock(pool, lumaBlock.Layout.SlotCount(), lumaBlock.CentreSlot);
    lumaEntry.Offset = lumaBlock.Layout.Lo() / 2 * step;
    if (i % 2 == 0) continue;

    const GatheredChromaBlock chromaBlock =
        GatherYUY2ChromaTaps(axis, i - 1, chroma, Chroma(), set.Slots());
    WeightEntry &chromaEntry = group.Chroma();
    chromaEntry.Coeffs =
        set.StoreBlock(pool, chromaBlock.Layout.SlotCount(), chromaBlock.CentreSlot);
    chromaEntry.Offset = 2 * (chromaBlock.Layout.Lo() / 2) * step;
  }
}
