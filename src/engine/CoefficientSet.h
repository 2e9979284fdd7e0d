// Work memory for one coefficient set of a window-function table build: the real weights of
// the current block in slot order, the coefficients quantized from them, and the remainder
// records that quantizing needs. Allocated once per build, sized for the largest block.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/BlockPool.h"
#include "engine/WeightQuantizer.h"

class CoefficientSet {
 public:
  // `sortList` is the build's one sort list, shared by all of its sets.
  CoefficientSet(int32_t slotCapacity, std::vector<TapRemainder *> *sortList);

  double *Slots() { return slots_.data(); }
  // Quantizes slots 0 .. count - 1 to coefficients summing to exactly 16384 (see
  // QuantizeWeights for `fallbackSlot`) and returns them.
  const int16_t *Quantize(int32_t count, int32_t fallbackSlot);
  // Quantizes the block's `count` slots, writes them as pairs of two coefficients into the
  // pool and returns the coefficients of the stored (possibly shared) block.
  int16_t *StoreBlock(BlockPool &pool, int32_t count, int32_t fallbackSlot);

 private:
  std::vector<double> slots_;
  std::vector<int16_t> coefficients_;
  std::vector<TapRemainder> remainders_;
  std::vector<TapRemainder *> *sortList_;
};
