// Persistent worker threads behind the host's exec_multi_thread_func service: each call runs
// the function once on every worker, with the worker's index and the worker count, and returns
// when all have finished.
//
// Frames follow each other closely, and under Wine every sleep and wake-up of a thread goes
// through the Wine server (tens of microseconds each). So a worker waits for the next job by
// spinning for a short while before it sleeps, and the caller waits for the workers the same
// way. A spinning thread gives its processor to any other ready thread, so that spinning never
// keeps a worker from running when there are more threads than processors.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "hostsdk/AviUtlPlugin.h"

namespace quorlin_harness {

class WorkerPool {
 public:
  // How long a waiting thread spins before it sleeps: longer than the gap between two frames'
  // passes, far shorter than a frame.
  static constexpr std::chrono::microseconds kSpinTime{200};

  // `threads` workers; 0 or less means one per logical processor. A waiting thread spins for
  // `spinTime` before it sleeps (0: it sleeps at once).
  explicit WorkerPool(int threads, std::chrono::microseconds spinTime = kSpinTime);
  ~WorkerPool();
  WorkerPool(const WorkerPool &) = delete;
  WorkerPool &operator=(const WorkerPool &) = delete;

  int ThreadCount() const { return count_; }
  // Calls func(index, ThreadCount(), param1, param2) on every worker and waits for all.
  void Run(MULTI_THREAD_FUNC func, void *param1, void *param2);

  static int LogicalProcessorCount();

 private:
  void WorkerLoop(int index);
  // Spins until done() holds or the spin time is over, giving the processor to any other
  // ready thread meanwhile; true if done() holds.
  template <class Done>
  bool SpinUntil(const Done &done) const;

  const int count_;
  const std::chrono::microseconds spinTime_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable jobReady_;
  std::condition_variable jobDone_;
  MULTI_THREAD_FUNC func_ = nullptr;
  void *param1_ = nullptr;
  void *param2_ = nullptr;
  std::atomic<uint64_t> generation_{0};  // counts jobs; a worker runs each generation once
  std::atomic<int> pending_{0};          // workers still running the current job
  std::atomic<bool> stopping_{false};
};

}  // namespace quorlin_harness
