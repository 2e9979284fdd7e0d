// Per-axis weight tables, shared with the kernel libraries.
//
// A table has one WeightEntry per output position (YUY2 horizontal tables: three per output
// pixel pair, see TYUY2WeightSetter). An entry's Offset is the position of the first source
// pixel pair its block covers, in the caller's Step units; its Coeffs points at the block's
// first coefficient. The 32-bit PairCount sits just before the coefficients.
//
// Coefficients are signed 16-bit, 14 fractional bits (16384 = 1.0), in pairs aligned to even
// source positions. Shared-weight tables (kind 0) hold two coefficients per pair; separate-weight
// tables (kind 1) hold four: luma even, luma odd, chroma even, chroma odd.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contracts/Layout32.h"

struct WeightEntry {
  int32_t Offset;        // first source pixel pair x Step (never decreases along a table)
  int16_t *Coeffs;       // first coefficient of the block
};
CHECK_LAYOUT32(sizeof(WeightEntry) == 8, "WeightEntry layout");
CHECK_LAYOUT32(offsetof(WeightEntry, Coeffs) == 4, "WeightEntry layout");

struct WeightTable {
  void *Pool;            // the packed coefficient blocks (owned by the engine)
  WeightEntry *Entries;  // the entries in output order (owned by the engine)
};
CHECK_LAYOUT32(sizeof(WeightTable) == 8, "WeightTable layout");
CHECK_LAYOUT32(offsetof(WeightTable, Entries) == 4, "WeightTable layout");

// Number of coefficient pairs of the block whose first coefficient is `coeffs`.
inline int32_t PairCount(const int16_t *coeffs) {
  return reinterpret_cast<const int32_t *>(coeffs)[-1];
}

// Coefficients per pair: 2 for shared weights (kind 0), 4 for separate weights (kind 1).
constexpr int kSharedPairCoeffs = 2;
constexpr int kSeparatePairCoeffs = 4;

// The entries of output pixel pair q in a YUY2 horizontal table, three per pair: the luma entry
// of the even column, the luma entry of the odd column, and the chroma entry of the pair, whose
// coefficients serve U and V alike. A table of an odd width ends in a group that holds its even
// luma entry only.
class YUY2EntryGroup {
 public:
  static constexpr int32_t kEntries = 3;

  // Entries of a table `width` output pixels wide.
  static constexpr int64_t TableEntries(int32_t width) {
    return kEntries * static_cast<int64_t>(width) / 2;
  }

  YUY2EntryGroup(WeightEntry *entries, int32_t q) : first_(entries + kEntries * q) {}

  WeightEntry *First() const { return first_; }
  WeightEntry &EvenLuma() const { return first_[0]; }
  WeightEntry &OddLuma() const { return first_[1]; }
  WeightEntry &Chroma() const { return first_[2]; }
  // The luma entry of the pair's column `x` (even or odd).
  WeightEntry &Luma(int32_t x) const { return first_[x % 2]; }

 private:
  WeightEntry *first_;
};
