// A resize whose allocations fail one after another, at every point in turn: each such call returns
// false and leaves the target as it was, and the first call whose allocations all succeed resizes
// as a call without failures does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "rgba/RgbaImages.h"

namespace {

// Allocations until the one that fails; negative: none fails.
int allocationsUntilFailure = -1;

}  // namespace

void *operator new(std::size_t size) {
  if (allocationsUntilFailure == 0) {
    allocationsUntilFailure = -1;
    throw std::bad_alloc();
  }
  if (allocationsUntilFailure > 0) --allocationsUntilFailure;
  if (void *block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }

namespace {

using rgba_test::Options;
using rgba_test::OwnedImage;

TEST(RgbaResizer, FailedAllocationsLeaveTheTargetUntouched) {
  rgba::ThreadPool pool(2);
  OwnedImage src = rgba_test::RandomImage(37, 23, 9);
  for (const bool linear : {false, true}) {
    const rgba::ResizeOptions options =
        Options(rgba::DefaultMethodIndex(), linear, rgba::Isa::Auto);
    // A geometry no other test resizes, so that the first calls build its taps too.
    const int32_t width = linear ? 51 : 50;
    OwnedImage resized(width, 17, 0xCD);
    bool succeeded = false;
    for (int failAt = 0; !succeeded; ++failAt) {
      ASSERT_LT(failAt, 1000);
      OwnedImage dst(width, 17, 0xCD);
      const std::vector<uint8_t> before = dst.Bytes;
      allocationsUntilFailure = failAt;
      succeeded = rgba::Resize(src.View(), dst.View(), options, pool);
      const bool failed = allocationsUntilFailure == -1 && !succeeded;
      allocationsUntilFailure = -1;
      if (succeeded) {
        EXPECT_GT(failAt, 3) << "the resize allocates its buffers";
        resized = dst;
      } else {
        ASSERT_TRUE(failed) << "false only for a failed allocation";
        ASSERT_EQ(dst.Bytes, before) << "failure at allocation " << failAt;
      }
    }
    OwnedImage expected(width, 17, 0xCD);
    ASSERT_TRUE(rgba::Resize(src.View(), expected.View(), options, pool));
    EXPECT_EQ(resized.Bytes, expected.Bytes);
  }
}

}  // namespace
