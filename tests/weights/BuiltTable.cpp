#include "BuiltTable.h"

#include <set>

#include "common/mmutil.h"

BuiltTable::BuiltTable(TWeightSetter &setter, Operation operation, int32_t srcLen,
                       int32_t dstLen, int32_t step, int32_t horizontal, int32_t entryCount)
    : entryCount_(entryCount < 0 ? dstLen : entryCount) {
  if (operation == Shrink) {
    setter.SetShrinkWeights(&table_, srcLen, dstLen, step, horizontal);
  } else {
    setter.SetEnlargeWeights(&table_, srcLen, dstLen, step, horizontal);
  }
}

BuiltTable::~BuiltTable() {
  AlignedFree(table_.Pool);
  AlignedFree(table_.Entries);
}

EntryValues BuiltTable::Values(int32_t n, int32_t pairCoeffs) const {
  const WeightEntry &entry = Entry(n);
  const int16_t *coeffs = entry.Coeffs;
  return {entry.Offset,
          std::vector<int16_t>(coeffs, coeffs + PairCount(coeffs) * pairCoeffs)};
}

std::vector<EntryValues> BuiltTable::AllValues(int32_t pairCoeffs) const {
  std::vector<EntryValues> values;
  for (int32_t n = 0; n < entryCount_; ++n) values.push_back(Values(n, pairCoeffs));
  return values;
}

uint32_t BuiltTable::PoolBytesUsed(int32_t pairCoeffs) const {
  const uintptr_t pool = reinterpret_cast<uintptr_t>(table_.Pool);
  uintptr_t farthest = pool;
  for (int32_t n = 0; n < entryCount_; ++n) {
    const int16_t *coeffs = Entry(n).Coeffs;
    const uintptr_t end = reinterpret_cast<uintptr_t>(coeffs + PairCount(coeffs) * pairCoeffs);
    if (end > farthest) farthest = end;
  }
  return static_cast<uint32_t>(farthest - pool);
}

int32_t BuiltTable::DistinctBlocks() const {
  std::set<const int16_t *> blocks;
  for (int32_t n = 0; n < entryCount_; ++n) blocks.insert(Entry(n).Coeffs);
  return static_cast<int32_t>(blocks.size());
}
