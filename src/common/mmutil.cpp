#include "common/mmutil.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> blocksInUse{0};

}  // namespace

void *AlignedAlloc(std::size_t size, std::size_t alignment) {
  constexpr std::size_t kBackPointer = sizeof(void *);
  if (alignment < kBackPointer) alignment = kBackPointer;
  if (size > SIZE_MAX - alignment - (kBackPointer - 1)) throw std::bad_alloc();
  void *start = std::malloc(size + alignment + kBackPointer - 1);
  if (!start) throw std::bad_alloc();
  // Room for the back pointer is guaranteed: the aligned address is at least a pointer's size
  // in, whatever the word size.
  std::uintptr_t aligned =
      (reinterpret_cast<std::uintptr_t>(start) + alignment + kBackPointer - 1) & ~(alignment - 1);
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
