#include "engine/SharedBlocks.h"

namespace {

bool SameBlock(const int32_t *registered, const int32_t *block, int32_t wordsPerPair) {
  if (registered[0] != block[0]) return false;  // PairCount
  const int32_t words = registered[0] * wordsPerPair;
  for (int32_t w = 1; w <= words; ++w) {
    if (registered[w] != block[w]) return false;
  }
  return true;
}

}  // namespace

const int32_t *FindSharedBlock(std::vector<const int32_t *> &registered, const int32_t *block,
                               int32_t wordsPerPair) {
  for (const int32_t *candidate : registered) {
    if (SameBlock(candidate, block, wordsPerPair)) return candidate;
  }
  registered.push_back(block);
  return block;
}
