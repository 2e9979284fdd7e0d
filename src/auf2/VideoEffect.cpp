#include "auf2/VideoEffect.h"

#include <memory>
#include <new>

#include "auf2/EffectItems.h"
#include "auf2/EffectPool.h"
#include "auf2/TargetSize.h"

namespace auf2 {
namespace {

// A buffer of width x height pixels, or nullptr when memory runs out.
std::unique_ptr<PIXEL_RGBA[]> PixelBuffer(const Size &size) {
  return std::unique_ptr<PIXEL_RGBA[]>(new (std::nothrow)
                                           PIXEL_RGBA[size_t(size.Width) * size_t(size.Height)]);
}

rgba::Image ImageOf(PIXEL_RGBA *pixels, const Size &size) {
  static_assert(sizeof(PIXEL_RGBA) == 4, "PIXEL_RGBA is four bytes, r g b a");
  return {reinterpret_cast<uint8_t *>(pixels), size.Width, size.Height, 4 * size.Width};
}

}  // namespace

bool ProcessVideo(FILTER_PROC_VIDEO *video) {
  const EffectSettings settings = CurrentSettings();
  const Size source{video->object->width, video->object->height};
  if (source.Width <= 0 || source.Height <= 0) return true;
  const Size target = TargetSize(source, settings);
  if (target == source) return true;

  rgba::ThreadPool *pool = EffectPool();
  std::unique_ptr<PIXEL_RGBA[]> sourcePixels = PixelBuffer(source);
  std::unique_ptr<PIXEL_RGBA[]> targetPixels = sourcePixels ? PixelBuffer(target) : nullptr;
  if (!pool || !targetPixels) return false;

  video->get_image_data(sourcePixels.get());
  if (!rgba::Resize(ImageOf(sourcePixels.get(), source), ImageOf(targetPixels.get(), target),
                    settings.Options, *pool)) {
    return false;
  }
  video->set_image_data(targetPixels.get(), target.Width, target.Height);
  return true;
}

}  // namespace auf2
