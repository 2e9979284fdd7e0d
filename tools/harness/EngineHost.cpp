#include "harness/EngineHost.h"

#include <thread>
#include <vector>

#include "harness/WorkerPool.h"

namespace quorlin_harness {

namespace {

// The service carries no handle to find its host by; the engine calls it on the thread that
// called ProcessFrame.
thread_local EngineHost *processingHost = nullptr;

}  // namespace

EngineHost::EngineHost(ThreadService service, int threads) {
  filter_.exfunc = &exfunc_;
  SetService(service, threads);
}

EngineHost::~EngineHost() = default;

void EngineHost::SetService(ThreadService service, int threads) {
  service_ = service;
  threads_ = threads;
  pool_.reset(service == ThreadService::Pool ? new WorkerPool(threads) : nullptr);
  exfunc_.exec_multi_thread_func = service == ThreadService::None ? nullptr : &RunWorkers;
}

FILTER_PROC_INFO EngineHost::Frame(void *edit, void *temp, int32_t width, int32_t height,
                                   int32_t maxWidth, int32_t maxHeight) {
  FILTER_PROC_INFO frame{};
  frame.ycp_edit = edit;
  frame.ycp_temp = temp;
  frame.w = width;
  frame.h = height;
  frame.max_w = maxWidth;
  frame.max_h = maxHeight;
  return frame;
}

BOOL EngineHost::Process(TFilter &engine, FILTER_PROC_INFO &frame) {
  EngineHost *const outer = processingHost;
  processingHost = this;
  const BOOL result = engine.ProcessFrame(&filter_, &frame);
  processingHost = outer;
  return result;
}

BOOL __cdecl EngineHost::RunWorkers(MULTI_THREAD_FUNC func, void *param1, void *param2) {
  if (!processingHost || !func) return FALSE;
  processingHost->Run(func, param1, param2);
  return TRUE;
}

void EngineHost::Run(MULTI_THREAD_FUNC func, void *param1, void *param2) {
  if (service_ == ThreadService::Pool) {
    pool_->Run(func, param1, param2);
  } else if (service_ == ThreadService::Threads) {
    std::vector<std::thread> workers;
    for (int i = 0; i < threads_; ++i) workers.emplace_back(func, i, threads_, param1, param2);
    for (std::thread &worker : workers) worker.join();
  } else if (service_ == ThreadService::Sequential) {
    for (int i = 0; i < threads_; ++i) func(i, threads_, param1, param2);
  } else {
    func(0, 1, param1, param2);
  }
}

}  // namespace quorlin_harness
