// Buffers kept from one call to the next. An effect resizes frame after frame at the same sizes,
// and a fresh large allocation costs a page fault for every 4 KB of it the first time it is
// written; a buffer taken from here is written already. Behind a lock: calls may run at once, and
// each takes buffers of its own.
#pragma once

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace rgba {

template <class T>
class BufferStash {
 public:
  // A buffer of at least `count` elements, holding what its last user left (value-initialised
  // when new). Throws std::bad_alloc when memory runs out.
  std::vector<T> Take(size_t count) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      // The smallest buffer that is large enough.
      auto best = buffers_.end();
      for (auto it = buffers_.begin(); it != buffers_.end(); ++it) {
        if (it->size() >= count && (best == buffers_.end() || it->size() < best->size())) best = it;
      }
      if (best != buffers_.end()) {
        std::vector<T> buffer = std::move(*best);
        buffers_.erase(best);
        return buffer;
      }
    }
    return std::vector<T>(count);
  }

  // Keeps `buffer` for a later Take: up to kCapacity buffers, the smallest freed first, and none
  // larger than kLargestKeptBytes, so that one huge frame does not hold its memory for good.
  void Give(std::vector<T> &&buffer) {
    if (buffer.size() * sizeof(T) > kLargestKeptBytes) return;
    std::lock_guard<std::mutex> lock(mutex_);
    try {
      buffers_.push_back(std::move(buffer));
    } catch (const std::bad_alloc &) {
      return;  // not kept: `buffer`, left as it was, frees it
    }
    if (buffers_.size() > kCapacity) {
      buffers_.erase(std::min_element(buffers_.begin(), buffers_.end(), Smaller));
    }
  }

 private:
  static constexpr size_t kCapacity = 8;
  static constexpr size_t kLargestKeptBytes = size_t{128} << 20;  // a 5.6K frame of RGBA

  static bool Smaller(const std::vector<T> &a, const std::vector<T> &b) {
    return a.size() < b.size();
  }

  std::mutex mutex_;
  std::vector<std::vector<T>> buffers_;
};

// The stash of buffers of T that every call shares.
template <class T>
BufferStash<T> &SharedBufferStash() {
  static BufferStash<T> stash;
  return stash;
}

}  // namespace rgba
