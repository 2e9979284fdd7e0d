#include "common/mmutil.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> blocksInUse{0};

}  // namespace

void *AlignedAlloc(std::size_t size, std::size_t alignment) {
  constexpr std::size_t kWord = sizeof(void *);  // the back-pointer just before the block
  if (alignment < kWord) alignment = kWord;
  if (size > SIZE_MAX - alignment - (kWord - 1)) throw std::bad_alloc();
  void *start = std::malloc(size + alignment + kWord - 1);
  if (!start) throw std::bad_alloc();
  // Room for the back-pointer is guaranteed: the aligned address is at least a word in.
  std::uintptr_t aligned =
      (reinterpret_cast<std::uintptr_t>(start) + alignment + kWord - 1) & ~(alignment - 1);
  reinterpret_cast<void **>(aligned)[-1] = start;
  ++blocksInUse;
  return reinterpret_cast<void *>(aligned);
}

void AlignedFree(void *block) {
  if (!block) return;
  std::free(static_cast<void **>(block)[-1]);
  --blocksInUse;
}

std::size_t AlignedBlocksInUse() { return blocksInUse; }
