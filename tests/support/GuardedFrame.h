// A frame buffer whose last byte is followed by a no-access page, so that a read or write one
// byte past the frame faults at once (and the test program's main turns the fault into a
// failing exit code).
#pragma once

#include <cstddef>
#include <cstdint>

class GuardedFrame {
 public:
  explicit GuardedFrame(size_t bytes);
  ~GuardedFrame();
  GuardedFrame(const GuardedFrame &) = delete;
  GuardedFrame &operator=(const GuardedFrame &) = delete;

  uint8_t *Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  void *reservation_;
  uint8_t *data_;
  size_t size_;
};
