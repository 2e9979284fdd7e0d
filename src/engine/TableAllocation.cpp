#include "engine/TableAllocation.h"

#include <cstddef>
#include <new>

#include "common/mmutil.h"

namespace {

std::size_t CheckedBytes(uint64_t bytes) {
  if (bytes > SIZE_MAX) throw std::bad_alloc();
  return static_cast<std::size_t>(bytes);
}

}  // namespace

void AllocateTable(WeightTable *table, uint64_t poolBytes, uint64_t entryCount) {
  table->Pool = AlignedAlloc(CheckedBytes(poolBytes), 8);
  table->Entries = static_cast<WeightEntry *>(
      AlignedAlloc(CheckedBytes(entryCount * sizeof(WeightEntry)), 8));
}
