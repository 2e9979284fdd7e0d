// An in-process kernel record whose routines only record how the engine called them.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "contracts/FilterPluginInfo.h"

enum class Routine { H, V, HSep, VSep, HV, HVSep };

struct KernelCall {
  Routine routine;
  void *dst;
  const void *src;
  ResizeParams *params;
  int32_t index;
  int32_t count;
};

// Where the fake kernel faults (an access violation), if anywhere.
enum class KernelFault { None, WorkSize1, WorkSize2, Routine };

class FakeKernel {
 public:
  FakeKernel();
  ~FakeKernel();

  FilterPluginInfo info{};
  int32_t work1Size = 1000;
  int32_t work2Size = 0;
  int workSizeCalls = 0;
  KernelFault fault = KernelFault::None;
  int32_t faultThread = 0;  // the thread index whose routine call faults
  // LineSize and tile counts seen by GetWorkSize1, to check they were set before the call.
  ResizeParams paramsAtWorkSize{};

  std::vector<KernelCall> Calls();
  void ClearCalls();

  static FakeKernel *current;
  void Record(Routine routine, void *dst, const void *src, ResizeParams *params, int32_t index,
              int32_t count);

 private:
  std::mutex mutex_;
  std::vector<KernelCall> calls_;
};
