// Aligned memory blocks. The start of the underlying allocation is kept in the pointer just
// before the aligned address, so AlignedFree needs nothing but the aligned pointer.
#pragma once

#include <cstddef>

// Returns a block of `size` bytes aligned to `alignment` (a power of two; below a
// pointer's size means a pointer's size). Throws std::bad_alloc when memory is exhausted.
void *AlignedAlloc(std::size_t size, std::size_t alignment);

// Releases a block from AlignedAlloc; null is ignored.
void AlignedFree(void *block);

// Blocks allocated and not yet released, over all threads: what a failed build must give back.
std::size_t AlignedBlocksInUse();
