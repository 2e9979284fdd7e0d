// Persistent worker threads behind the host's exec_multi_thread_func service: each call runs
// the function once on every worker, with the worker's index and the worker count, and returns
// when all have finished.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "host/AviUtlPlugin.h"

namespace quorlin_host {

class WorkerPool {
 public:
  // `threads` workers; 0 or less means one per logical processor.
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool &) = delete;
  WorkerPool &operator=(const WorkerPool &) = delete;

  int ThreadCount() const { return count_; }
  // Calls func(index, ThreadCount(), param1, param2) on every worker and waits for all.
  void Run(MULTI_THREAD_FUNC func, void *param1, void *param2);

  static int LogicalProcessorCount();

 private:
  void WorkerLoop(int index);

  const int count_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable jobReady_;
  std::condition_variable jobDone_;
  MULTI_THREAD_FUNC func_ = nullptr;
  void *param1_ = nullptr;
  void *param2_ = nullptr;
  uint64_t generation_ = 0;  // counts jobs; a worker runs each generation once
  int pending_ = 0;          // workers still running the current job
  bool stopping_ = false;
};

}  // namespace quorlin_host
