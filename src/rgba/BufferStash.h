// Float buffers kept from one call to the next. An effect resizes frame after frame at the same
// sizes, and a fresh large allocation costs a page fault for every 4 KB of it the first time it is
// written; a buffer taken from here is written already. Behind a lock: calls may run at once, and
// each takes buffers of its own.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

namespace rgba {

class BufferStash {
 public:
  // A buffer of at least `floats` floats, holding what its last user left (zeros when new).
  // Throws std::bad_alloc when memory runs out.
  std::vector<float> Take(size_t floats);
  // Keeps `buffer` for a later Take; beyond kCapacity buffers the smallest is freed.
  void Give(std::vector<float> &&buffer);

 private:
  static constexpr size_t kCapacity = 8;

  std::mutex mutex_;
  std::vector<std::vector<float>> buffers_;
};

// The stash every Resize call shares.
BufferStash &SharedBufferStash();

}  // namespace rgba
