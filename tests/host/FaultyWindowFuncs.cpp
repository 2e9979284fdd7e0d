// A window-function library for the fault tests: one function, "Faulty", a triangle of radius 1
// whose calls fault as FaultPlan.h plans. It counts its live instances in "FaultyLive".
#include "FaultPlan.h"
#include "contracts/WindowFuncInfo.h"

extern "C" {
__attribute__((dllexport)) int32_t FaultyLive;
}

namespace {

WindowFuncHandle __cdecl Create(int32_t) {
  fault_plan::FaultIfPlanned("Create");
  ++FaultyLive;
  return 1;
}

double __cdecl Evaluate(double x, WindowFuncHandle) {
  fault_plan::FaultIfPlanned("Evaluate");
  const double distance = x < 0 ? -x : x;
  return distance < 1 ? 1 - distance : 0;
}

int32_t __cdecl GetRadius(WindowFuncHandle) {
  fault_plan::FaultIfPlanned("GetRadius");
  return 1;
}

void __cdecl Release(WindowFuncHandle) {
  fault_plan::FaultIfPlanned("Release");
  --FaultyLive;
}

const WindowFuncInfo kInfo = {"Faulty", nullptr, 0, 0, 0, 0, Create, Evaluate, GetRadius, Release};

}  // namespace

extern "C" __attribute__((dllexport)) const WindowFuncInfo *__stdcall GetWindowFuncPluginInfo(
    int32_t index) {
  fault_plan::FaultIfPlanned("GetWindowFuncPluginInfo");
  return index == 0 ? &kInfo : nullptr;
}
