// The cursor through a weight table's pool: blocks are written at the cursor one at a time,
// and a block identical to one already stored is dropped in favour of the stored one.
#pragma once

#include <cstdint>
#include <vector>

class BlockPool {
 public:
  // `reservedBytes` precede every block's PairCount (0 for shared-weight pools, 4 for
  // separate-weight and YUY2 horizontal pools); a pair is `wordsPerPair` 32-bit words.
  BlockPool(void *pool, int32_t reservedBytes, int32_t wordsPerPair);

  // Starts a block of `pairCount` pairs at the cursor; returns where its coefficients go.
  int16_t *Open(int32_t pairCount);
  // Stores the open block, or drops it when an identical block is already stored (the next
  // block then overwrites it). Returns the coefficients the output's entry points at.
  int16_t *Close();

 private:
  uint8_t *cursor_;
  const int32_t reservedBytes_;
  const int32_t wordsPerPair_;
  std::vector<const int32_t *> registered_;
};
