// The host's frame buffers as the kernels address them: lines of LineSize bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kernels {

// The source frame as the filters read it.
template <class Format>
struct SourceFrame {
  const void *Data;
  int32_t LineSize;  // bytes
  int32_t Height;    // lines

  const typename Format::Sample *Line(int32_t y) const {
    return reinterpret_cast<const typename Format::Sample *>(static_cast<const uint8_t *>(Data) +
                                                             static_cast<size_t>(LineSize) * y);
  }
};

// Line y of a frame that is written.
template <class Format>
typename Format::Sample *FrameLine(void *frame, int32_t lineSize, int32_t y) {
  return reinterpret_cast<typename Format::Sample *>(static_cast<uint8_t *>(frame) +
                                                     static_cast<size_t>(lineSize) * y);
}

}  // namespace kernels
