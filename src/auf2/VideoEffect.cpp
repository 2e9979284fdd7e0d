#include "auf2/VideoEffect.h"

#include <new>
#include <vector>

#include "auf2/EffectItems.h"
#include "auf2/EffectPool.h"
#include "auf2/TargetSize.h"
#include "rgba/BufferStash.h"

namespace auf2 {
namespace {

// A buffer of width x height pixels from the stash the calls share, given back when done: the
// object's image and the result are as large as whole frames, and are needed again next frame.
class PixelBuffer {
 public:
  // Throws std::bad_alloc when memory runs out.
  explicit PixelBuffer(const Size &size)
      : size_(size), pixels_(Stash().Take(size_t(size.Width) * size_t(size.Height))) {}
  ~PixelBuffer() { Stash().Give(std::move(pixels_)); }
  PixelBuffer(const PixelBuffer &) = delete;
  PixelBuffer &operator=(const PixelBuffer &) = delete;

  PIXEL_RGBA *Data() { return pixels_.data(); }
  rgba::Image Image() {
    static_assert(sizeof(PIXEL_RGBA) == 4, "PIXEL_RGBA is four bytes, r g b a");
    uint8_t *bytes = reinterpret_cast<uint8_t *>(pixels_.data());
    return {bytes, size_.Width, size_.Height, 4 * size_.Width};
  }

 private:
  static rgba::BufferStash<PIXEL_RGBA> &Stash() { return rgba::SharedBufferStash<PIXEL_RGBA>(); }

  const Size size_;
  std::vector<PIXEL_RGBA> pixels_;
};

// The object's image resized into a buffer handed to the editor; false (nothing handed over) when
// memory runs out.
bool Resize(FILTER_PROC_VIDEO *video, const Size &source, const Size &target,
            const EffectSettings &settings, rgba::ThreadPool &pool) {
  try {
    PixelBuffer sourcePixels(source), targetPixels(target);
    video->get_image_data(sourcePixels.Data());
    if (!rgba::Resize(sourcePixels.Image(), targetPixels.Image(), settings.Options, pool)) {
      return false;
    }
    video->set_image_data(targetPixels.Data(), target.Width, target.Height);
    return true;
  } catch (const std::bad_alloc &) {
    return false;
  }
}

}  // namespace

bool ProcessVideo(FILTER_PROC_VIDEO *video) {
  const EffectSettings settings = CurrentSettings();
  const Size source{video->object->width, video->object->height};
  if (source.Width <= 0 || source.Height <= 0) return true;
  const Size target = TargetSize(source, settings);
  if (target == source) return true;

  rgba::ThreadPool *pool = EffectPool();
  return pool && Resize(video, source, target, settings, *pool);
}

}  // namespace auf2
