// A window-function library for the integration tests: triangle-shaped functions whose Create
// calls are written down with the parameter they received.
//   0 "Spline36"  no parameter (0..0, default 0)
//   1 "Lanczos"   1..10, default 3
//   2 "Signed"    -100..100, default -7
//   3 "Wide"      -32768..32767, default 100
// Built a second time with RECORDING_NAME_SUFFIX: the same functions under names longer than
// the 32 bytes a settings record holds, each name's first 32 bytes its own.
#include <cmath>

#include "RecordingLogs.h"
#include "contracts/WindowFuncInfo.h"

extern "C" {
__attribute__((dllexport)) CreateLogRecord CreateLog;
}

#ifndef RECORDING_NAME_SUFFIX
#define RECORDING_NAME_SUFFIX ""
#endif

namespace {

struct Instance {
  int32_t Function;
  int32_t Param;
};

template <int Function>
WindowFuncHandle __cdecl Create(int32_t param) {
  if (CreateLog.Count < 64) CreateLog.Calls[CreateLog.Count] = {Function, param};
  ++CreateLog.Count;
  ++CreateLog.Live;
  return reinterpret_cast<WindowFuncHandle>(new Instance{Function, param});
}

double __cdecl Evaluate(double x, WindowFuncHandle) {
  const double distance = std::fabs(x);
  return distance < 2.0 ? 1.0 - distance / 2.0 : 0.0;
}

int32_t __cdecl GetRadius(WindowFuncHandle) { return 2; }

void __cdecl Release(WindowFuncHandle instance) {
  delete reinterpret_cast<Instance *>(instance);
  --CreateLog.Live;
}

const WindowFuncInfo kFunctions[] = {
    {"Spline36" RECORDING_NAME_SUFFIX, nullptr, 0, 0, 0, 0, Create<0>, Evaluate, GetRadius, Release},
    {"Lanczos" RECORDING_NAME_SUFFIX, "taps", 1, 10, 3, 0, Create<1>, Evaluate, GetRadius, Release},
    {"Signed" RECORDING_NAME_SUFFIX, "bias", -100, 100, -7, 0, Create<2>, Evaluate, GetRadius, Release},
    {"Wide" RECORDING_NAME_SUFFIX, "value", -32768, 32767, 100, 0, Create<3>, Evaluate, GetRadius, Release},
};

}  // namespace

extern "C" __attribute__((dllexport)) const WindowFuncInfo *__stdcall GetWindowFuncPluginInfo(int32_t index) {
  const int32_t count = sizeof kFunctions / sizeof kFunctions[0];
  return index >= 0 && index < count ? &kFunctions[index] : nullptr;
}
