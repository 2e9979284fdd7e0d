#include "rgba/ThreadPool.h"

namespace rgba {
namespace {

int ThreadsFor(int requested) {
  if (requested > 0) return requested;
  const unsigned logical = std::thread::hardware_concurrency();
  return logical > 0 ? static_cast<int>(logical) : 1;
}

}  // namespace

ThreadPool::ThreadPool(int threads) : threads_(ThreadsFor(threads)) {
  workers_.reserve(threads_ - 1);
  for (int index = 1; index < threads_; ++index) {
    workers_.emplace_back([this, index] { WorkerLoop(index); });
  }
}

ThreadPool::~ThreadPool() {
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread &worker : workers_) worker.join();
}

void ThreadPool::Run(void (*fn)(void *context, int index, int count), void *context) {
  std::lock_guard<std::mutex> call(callMutex_);
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    fn_ = fn;
    context_ = context;
    pending_ = threads_ - 1;
    ++generation_;
  }
  wake_.notify_all();
  fn(context, 0, threads_);
  std::unique_lock<std::mutex> lock(stateMutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
}

void ThreadPool::WorkerLoop(int index) {
  uint64_t seen = 0;
  for (;;) {
    void (*fn)(void *, int, int);
    void *context;
    {
      std::unique_lock<std::mutex> lock(stateMutex_);
      wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
      fn = fn_;
      context = context_;
    }
    fn(context, index, threads_);
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (--pending_ == 0) done_.notify_one();
  }
}

}  // namespace rgba
