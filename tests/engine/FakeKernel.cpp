#include "engine/FakeKernel.h"

FakeKernel *FakeKernel::current = nullptr;

namespace {

void FaultIf(bool planned) {
  if (!planned) return;
  volatile int *volatile address = nullptr;
  *address = 1;
}

int32_t __cdecl WorkSize1(const ResizeParams *params, int32_t) {
  FaultIf(FakeKernel::current->fault == KernelFault::WorkSize1);
  FakeKernel::current->workSizeCalls++;
  FakeKernel::current->paramsAtWorkSize = *params;
  return FakeKernel::current->work1Size;
}

int32_t __cdecl WorkSize2(const ResizeParams *, int32_t) {
  FaultIf(FakeKernel::current->fault == KernelFault::WorkSize2);
  return FakeKernel::current->work2Size;
}

template <Routine R>
void __cdecl Recorder(void *dst, const void *src, ResizeParams *params, int32_t index, int32_t count) {
  FaultIf(FakeKernel::current->fault == KernelFault::Routine && index == FakeKernel::current->faultThread);
  FakeKernel::current->Record(R, dst, src, params, index, count);
}

}  // namespace

FakeKernel::FakeKernel() {
  current = this;
  info.Name = "Fake";
  info.GetWorkSize1 = WorkSize1;
  info.GetWorkSize2 = WorkSize2;
  info.ResizeH = Recorder<Routine::H>;
  info.ResizeV = Recorder<Routine::V>;
  info.ResizeHSep = Recorder<Routine::HSep>;
  info.ResizeVSep = Recorder<Routine::VSep>;
  info.ResizeHV = Recorder<Routine::HV>;
  info.ResizeHVSep = Recorder<Routine::HVSep>;
  info.BlockWidth = 64;
  info.BlockHeight = 16;
  info.CombinedVStep = 4;
}

FakeKernel::~FakeKernel() { current = nullptr; }

void FakeKernel::Record(Routine routine, void *dst, const void *src, ResizeParams *params,
                        int32_t index, int32_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back({routine, dst, src, params, index, count});
}

std::vector<KernelCall> FakeKernel::Calls() {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

void FakeKernel::ClearCalls() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}
