// One of the host's two frame images (ycp_edit / ycp_temp). The image ends right before a page
// that faults on any access, so a plug-in that writes or reads past the frame buffer crashes
// at once instead of corrupting the host's memory unnoticed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorlin_harness {

class FrameBuffer {
 public:
  // `bytes` usable bytes whose start is aligned to `alignment` (a power of two). With an
  // alignment of 1 the last byte sits right before the inaccessible page.
  explicit FrameBuffer(size_t bytes, size_t alignment = 32);
  ~FrameBuffer();
  FrameBuffer(const FrameBuffer &) = delete;
  FrameBuffer &operator=(const FrameBuffer &) = delete;

  uint8_t *Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  void *allocation_ = nullptr;
  uint8_t *data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace quorlin_harness
