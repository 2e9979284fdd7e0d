#include "harness/WorkerPool.h"

#include <windows.h>

namespace quorlin_harness {

WorkerPool::WorkerPool(int threads, std::chrono::microseconds spinTime)
    : count_(threads > 0 ? threads : LogicalProcessorCount()), spinTime_(spinTime) {
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

template <class Done>
bool WorkerPool::SpinUntil(const Done &done) const {
  const auto end = std::chrono::steady_clock::now() + spinTime_;
  for (int i = 0; !done(); ++i) {
    if (i % 16 == 0 && std::chrono::steady_clock::now() >= end) return done();
    SwitchToThread();
  }
  return true;
}

void WorkerPool::Run(MULTI_THREAD_FUNC func, void *param1, void *param2) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    func_ = func;
    param1_ = param1;
    param2_ = param2;
    pending_ = ThreadCount();
    ++generation_;
  }
  jobReady_.notify_all();
  const auto allDone = [this] { return pending_ == 0; };
  if (SpinUntil(allDone)) return;
  std::unique_lock<std::mutex> lock(mutex_);
  jobDone_.wait(lock, allDone);
}

void WorkerPool::WorkerLoop(int index) {
  uint64_t seen = 0;
  for (;;) {
    const auto jobOrStop = [&] { return stopping_ || generation_ != seen; };
    if (!SpinUntil(jobOrStop)) {
      std::unique_lock<std::mutex> lock(mutex_);
      jobReady_.wait(lock, jobOrStop);
    }
    MULTI_THREAD_FUNC func;
    void *param1, *param2;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      seen = generation_;
      func = func_;
      param1 = param1_;
      param2 = param2_;
    }
    func(index, ThreadCount(), param1, param2);
    if (--pending_ == 0) {
      std::lock_guard<std::mutex> lock(mutex_);
      jobDone_.notify_one();
    }
  }
}

}  // namespace quorlin_harness
