#include "common/mmutil.h"

#include <cstdint>
#include <cstdlib>
#include <new>

void *AlignedAlloc(std::size_t size, std::size_t alignment) {
  if (alignment < 4) alignment = 4;
  if (size > SIZE_MAX - alignment - 3) throw std::bad_alloc();
  void *start = std::malloc(size + alignment + 3);
  if (!start) throw std::bad_alloc();
  // Room for the back-pointer word is guaranteed: the aligned address is at least 4 bytes in.
  std::uintptr_t aligned = (reinterpret_cast<std::uintptr_t>(start) + alignment + 3) & ~(alignment - 1);
  reinterpret_cast<void **>(aligned)[-1] = start;
  return reinterpret_cast<void *>(aligned);
}

void AlignedFree(void *block) {
  if (block) std::free(static_cast<void **>(block)[-1]);
}
