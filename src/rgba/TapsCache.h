// The taps of the last few axes resized, shared by every call: an effect resizes frame after
// frame with the same settings, and building a table costs as much as a good part of a frame.
// Entries are immutable once made; the list of them sits behind a lock.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

#include "rgba/AxisTaps.h"

namespace rgba {

// What an axis's taps are made from.
struct TapsKey {
  int MethodIndex;
  int32_t Param;
  int32_t SrcLen, DstLen;
  bool operator==(const TapsKey &other) const;
};

class TapsCache {
 public:
  // The taps of `key`, built (outside the lock) when not cached. Throws std::bad_alloc when
  // memory runs out.
  std::shared_ptr<const AxisTaps> Get(const TapsKey &key);

 private:
  static constexpr size_t kCapacity = 8;

  std::mutex mutex_;
  std::list<std::pair<TapsKey, std::shared_ptr<const AxisTaps>>> entries_;  // latest first
};

// The cache every Resize call shares.
TapsCache &SharedTapsCache();

}  // namespace rgba
