#include "auf2/EffectPool.h"

#include <mutex>
#include <new>
#include <system_error>

namespace auf2 {
namespace {

std::mutex poolMutex;
// Owned here and deleted only by StopEffectPool: a destructor run while the process exits would
// wait for workers that Windows has already ended.
rgba::ThreadPool *pool = nullptr;

}  // namespace

rgba::ThreadPool *EffectPool() {
  std::lock_guard<std::mutex> lock(poolMutex);
  if (!pool) {
    try {
      pool = new rgba::ThreadPool(0);
    } catch (const std::bad_alloc &) {
      return nullptr;
    } catch (const std::system_error &) {
      return nullptr;
    }
  }
  return pool;
}

void StopEffectPool() {
  std::lock_guard<std::mutex> lock(poolMutex);
  delete pool;
  pool = nullptr;
}

}  // namespace auf2
