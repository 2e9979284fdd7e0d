// The editor's side of the resampling engine alone, for the engine, kernel and quality tests and
// the benchmark: the filter record with a multi-thread service of the caller's choice, the
// per-frame record over the caller's two images, and the call of TFilter::ProcessFrame.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/TFilter.h"
#include "hostsdk/AviUtlPlugin.h"

namespace quorlin_harness {

class WorkerPool;

// What stands behind the filter record's exec_multi_thread_func.
enum class ThreadService {
  None,        // no service: the engine runs its pass on the caller's thread
  Sequential,  // every worker index in turn, on the caller's thread
  Threads,     // a new thread per worker index, for every call
  Pool,        // persistent worker threads, as the resizer runs the plug-in
};

class EngineHost {
 public:
  // `threads` worker indexes behind the service (not used with ThreadService::None).
  explicit EngineHost(ThreadService service = ThreadService::Sequential, int threads = 1);
  ~EngineHost();
  EngineHost(const EngineHost &) = delete;
  EngineHost &operator=(const EngineHost &) = delete;

  void SetService(ThreadService service, int threads);
  int Threads() const { return threads_; }

  // The record of a width x height frame in `edit`, with `temp` the scratch image; both images
  // hold maxWidth x maxHeight pixels.
  static FILTER_PROC_INFO Frame(void *edit, void *temp, int32_t width, int32_t height,
                                int32_t maxWidth, int32_t maxHeight);

  // Hands `frame` to the engine as the editor does and returns the engine's result; `frame`
  // is left as the engine left it (size, and the images exchanged).
  BOOL Process(TFilter &engine, FILTER_PROC_INFO &frame);

  // Calls func(index, count, param1, param2) for every worker index as the service does, and
  // returns when all are done; without a service, index 0 of 1 on the caller's thread.
  void Run(MULTI_THREAD_FUNC func, void *param1, void *param2);

 private:
  // The service the record points at; it serves the host whose Process runs on this thread.
  static BOOL __cdecl RunWorkers(MULTI_THREAD_FUNC func, void *param1, void *param2);

  ThreadService service_;
  int threads_;
  std::unique_ptr<WorkerPool> pool_;
  EXFUNC exfunc_{};
  FILTER filter_{};
};

}  // namespace quorlin_harness
