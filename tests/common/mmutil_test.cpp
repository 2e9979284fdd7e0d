#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "common/mmutil.h"

namespace {

uintptr_t Address(const void *p) { return reinterpret_cast<uintptr_t>(p); }

// The word before the block holds the start of the allocation of size + alignment + 3 bytes,
// which holds that word and the whole block.
void ExpectInsideItsAllocation(void *block, size_t size, size_t alignment) {
  const uintptr_t start = Address(static_cast<void **>(block)[-1]);
  EXPECT_LE(start + sizeof(void *), Address(block));
  EXPECT_LE(Address(block) + size, start + size + alignment + 3);
}

TEST(AlignedAlloc, AlignsAndRecordsTheUnderlyingStart) {
  for (size_t alignment : {4u, 8u, 16u, 128u, 4096u}) {
    for (size_t size : {0u, 1u, 7u, 1000u}) {
      void *block = AlignedAlloc(size, alignment);
      ASSERT_NE(block, nullptr);
      EXPECT_EQ(Address(block) % alignment, 0u);
      ExpectInsideItsAllocation(block, size, alignment);
      std::memset(block, 0xAB, size);  // the whole block is usable
      AlignedFree(block);
    }
  }
}

TEST(AlignedAlloc, RaisesSmallAlignmentsToFour) {
  for (size_t alignment : {0u, 1u, 2u}) {
    void *block = AlignedAlloc(10, alignment);
    EXPECT_EQ(Address(block) % 4, 0u);
    ExpectInsideItsAllocation(block, 10, 4);
    AlignedFree(block);
  }
}

TEST(AlignedAlloc, ThrowsWhenMemoryIsExhausted) {
  EXPECT_THROW(AlignedAlloc(0xFFFFFFF0u, 16), std::bad_alloc);
}

}  // namespace
