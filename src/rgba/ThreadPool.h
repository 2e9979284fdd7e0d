// Workers that run one function over an index range: one worker per logical processor, started
// once and woken per call. Several threads may call Run at once; their calls take turns.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace rgba {

class ThreadPool {
 public:
  // threads <= 0: one per logical processor. The calling thread is one of them.
  explicit ThreadPool(int threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool &) = delete;
  ThreadPool &operator=(const ThreadPool &) = delete;

  int Threads() const { return threads_; }
  // Runs fn(context, index, Threads()) for every index 0 .. Threads() - 1, index 0 on the
  // calling thread, and returns when all have returned.
  void Run(void (*fn)(void *context, int index, int count), void *context);

 private:
  void WorkerLoop(int index);

  const int threads_;
  std::vector<std::thread> workers_;
  std::mutex callMutex_;  // one Run at a time
  std::mutex stateMutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  void (*fn_)(void *, int, int) = nullptr;
  void *context_ = nullptr;
  uint64_t generation_ = 0;
  int pending_ = 0;
  bool stopping_ = false;
};

}  // namespace rgba
