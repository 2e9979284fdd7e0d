#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "common/mmutil.h"

namespace {

uintptr_t Address(const void *p) { return reinterpret_cast<uintptr_t>(p); }

TEST(AlignedAlloc, AlignsAndRecordsTheUnderlyingStart) {
  for (size_t alignment : {4u, 8u, 16u, 128u, 4096u}) {
    for (size_t size : {0u, 1u, 7u, 1000u}) {
      void *block = AlignedAlloc(size, alignment);
      ASSERT_NE(block, nullptr);
      EXPECT_EQ(Address(block) % alignment, 0u);
      void *start = static_cast<void **>(block)[-1];
      // The aligned address is (start + alignment + 3) rounded down to the alignment.
      EXPECT_EQ(Address(block), (Address(start) + alignment + 3) & ~(alignment - 1));
      std::memset(block, 0xAB, size);  // the whole block is usable
      AlignedFree(block);
    }
  }
}

TEST(AlignedAlloc, RaisesSmallAlignmentsToFour) {
  for (size_t alignment : {0u, 1u, 2u}) {
    void *block = AlignedAlloc(10, alignment);
    void *start = static_cast<void **>(block)[-1];
    EXPECT_EQ(Address(block), (Address(start) + 4 + 3) & ~uintptr_t(3));
    AlignedFree(block);
  }
}

TEST(AlignedAlloc, ThrowsWhenMemoryIsExhausted) {
  EXPECT_THROW(AlignedAlloc(0xFFFFFFF0u, 16), std::bad_alloc);
}

TEST(AlignedFree, IgnoresNull) { AlignedFree(nullptr); }

}  // namespace
