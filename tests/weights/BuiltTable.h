// A weight table built by a setter, owned by the test and read back as plain values.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/TWeightSetter.h"
#include "contracts/WeightTable.h"

struct EntryValues {
  int32_t Offset;
  std::vector<int16_t> Coeffs;  // all coefficients of the block, PairCount x pair size

  bool operator==(const EntryValues &other) const {
    return Offset == other.Offset && Coeffs == other.Coeffs;
  }
};

class BuiltTable {
 public:
  enum Operation { Shrink, Enlarge };

  // Builds with `setter`; `entryCount` is how many entries the table has (dstLen, or
  // 3 x dstLen / 2 for a YUY2 horizontal table).
  BuiltTable(TWeightSetter &setter, Operation operation, int32_t srcLen, int32_t dstLen,
             int32_t step, int32_t horizontal = -1, int32_t entryCount = -1);
  ~BuiltTable();
  BuiltTable(const BuiltTable &) = delete;
  BuiltTable &operator=(const BuiltTable &) = delete;

  const WeightTable &Table() const { return table_; }
  const WeightEntry &Entry(int32_t n) const { return table_.Entries[n]; }
  int32_t EntryCount() const { return entryCount_; }
  // Offset and coefficients of entry n; a pair holds `pairCoeffs` coefficients.
  EntryValues Values(int32_t n, int32_t pairCoeffs = 2) const;
  std::vector<EntryValues> AllValues(int32_t pairCoeffs = 2) const;
  // Pool bytes from the pool's start to the end of the farthest block any entry uses.
  uint32_t PoolBytesUsed(int32_t pairCoeffs) const;
  // Number of distinct blocks the entries point at.
  int32_t DistinctBlocks() const;

 private:
  WeightTable table_{};
  int32_t entryCount_;
};
