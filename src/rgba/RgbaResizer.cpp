#include "rgba/RgbaResizer.h"

#include <new>

#include "rgba/KernelChoice.h"
#include "rgba/ResizeJob.h"

namespace rgba {
namespace {

bool IsValidImage(const Image &image) {
  return image.Pixels && image.Width >= 1 && image.Height >= 1 && image.Width <= image.Stride / 4;
}

bool IsValidTarget(const Image &dst) {
  return IsValidImage(dst) && dst.Width <= kMaxSide && dst.Height <= kMaxSide &&
         int64_t{dst.Width} * dst.Height <= kMaxPixels;
}

void RunBand(void *job, int index, int count) {
  static_cast<ResizeJob *>(job)->RunBand(index, count);
}

}  // namespace

bool Resize(const Image &src, const Image &dst, const ResizeOptions &options, ThreadPool &pool) {
  if (!IsValidImage(src) || !IsValidTarget(dst)) return false;
  try {
    ResizeJob job(src, dst, options, KernelFor(EffectiveIsa(options.Isa)), pool.Threads());
    pool.Run(RunBand, &job);
    return true;
  } catch (const std::bad_alloc &) {
    return false;
  }
}

}  // namespace rgba
