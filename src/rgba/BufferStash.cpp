#include "rgba/BufferStash.h"

#include <algorithm>

namespace rgba {
namespace {

bool Smaller(const std::vector<float> &a, const std::vector<float> &b) {
  return a.size() < b.size();
}

}  // namespace

std::vector<float> BufferStash::Take(size_t floats) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // The smallest buffer that is large enough.
    auto best = buffers_.end();
    for (auto it = buffers_.begin(); it != buffers_.end(); ++it) {
      if (it->size() >= floats && (best == buffers_.end() || it->size() < best->size())) best = it;
    }
    if (best != buffers_.end()) {
      std::vector<float> buffer = std::move(*best);
      buffers_.erase(best);
      return buffer;
    }
  }
  return std::vector<float>(floats);
}

void BufferStash::Give(std::vector<float> &&buffer) {
  std::lock_guard<std::mutex> lock(mutex_);
  buffers_.push_back(std::move(buffer));
  if (buffers_.size() > kCapacity) {
    buffers_.erase(std::min_element(buffers_.begin(), buffers_.end(), Smaller));
  }
}

BufferStash &SharedBufferStash() {
  static BufferStash stash;
  return stash;
}

}  // namespace rgba
