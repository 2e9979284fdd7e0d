#include "rgba/TapsCache.h"

#include "rgba/MethodList.h"

namespace rgba {

bool TapsKey::operator==(const TapsKey &other) const {
  return MethodIndex == other.MethodIndex && Param == other.Param && SrcLen == other.SrcLen &&
         DstLen == other.DstLen;
}

std::shared_ptr<const AxisTaps> TapsCache::Get(const TapsKey &key) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
      if (entry->first == key) {
        entries_.splice(entries_.begin(), entries_, entry);
        return entries_.front().second;
      }
    }
  }
  const std::unique_ptr<TWeightSetter> setter = CreateWeightSetter(key.MethodIndex, key.Param);
  auto taps = std::make_shared<const AxisTaps>(*setter, key.SrcLen, key.DstLen);
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.emplace_front(key, taps);
  if (entries_.size() > kCapacity) entries_.pop_back();
  return taps;
}

TapsCache &SharedTapsCache() {
  static TapsCache cache;
  return cache;
}

}  // namespace rgba
