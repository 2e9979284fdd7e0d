#include "engine/BlockPool.h"

#include "engine/SharedBlocks.h"

BlockPool::BlockPool(void *pool, int32_t reservedBytes, int32_t wordsPerPair)
    : cursor_(static_cast<uint8_t *>(pool)),
      reservedBytes_(reservedBytes),
      wordsPerPair_(wordsPerPair) {}

int16_t *BlockPool::Open(int32_t pairCount) {
  int32_t *block = reinterpret_cast<int32_t *>(cursor_ + reservedBytes_);
  block[0] = pairCount;
  return reinterpret_cast<int16_t *>(block + 1);
}

int16_t *BlockPool::Close() {
  const int32_t *block = reinterpret_cast<const int32_t *>(cursor_ + reservedBytes_);
  const int32_t *stored = FindSharedBlock(registered_, block, wordsPerPair_);
  if (stored == block) cursor_ += reservedBytes_ + 4 + 4 * block[0] * wordsPerPair_;
  return reinterpret_cast<int16_t *>(const_cast<int32_t *>(stored) + 1);
}
