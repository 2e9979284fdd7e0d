#include "WorkerPool.h"

#include <windows.h>

namespace quorlin_host {

WorkerPool::WorkerPool(int threads)
    : count_(threads > 0 ? threads : LogicalProcessorCount()) {
  threads_.reserve(count_);
  for (int i = 0; i < count_; ++i) threads_.emplace_back(&WorkerPool::WorkerLoop, this, i);
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  jobReady_.notify_all();
  for (std::thread &t : threads_) t.join();
}

int WorkerPool::LogicalProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

void WorkerPool::Run(MULTI_THREAD_FUNC func, void *param1, void *param2) {
  std::unique_lock<std::mutex> lock(mutex_);
  func_ = func;
  param1_ = param1;
  param2_ = param2;
  pending_ = ThreadCount();
  ++generation_;
  jobReady_.notify_all();
  jobDone_.wait(lock, [this] { return pending_ == 0; });
}

void WorkerPool::WorkerLoop(int index) {
  uint64_t seen = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    jobReady_.wait(lock, [&] { return stopping_ || generation_ != seen; });
    if (stopping_) return;
    seen = generation_;
    const MULTI_THREAD_FUNC func = func_;
    void *const param1 = param1_;
    void *const param2 = param2_;
    lock.unlock();
    func(index, ThreadCount(), param1, param2);
    lock.lock();
    if (--pending_ == 0) jobDone_.notify_one();
  }
}

}  // namespace quorlin_host
