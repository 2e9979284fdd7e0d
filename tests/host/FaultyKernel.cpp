// A kernel library for the fault tests, "Faulty", for both frame formats: its calls fault as
// FaultPlan.h plans; a routine ("Routine") faults on the last worker thread only. Otherwise its
// routines write nothing.
#include "FaultPlan.h"
#include "contracts/FilterPluginInfo.h"

namespace {

int32_t __cdecl WorkSize1(const ResizeParams *, int32_t) {
  fault_plan::FaultIfPlanned("GetWorkSize1");
  return 64;
}

int32_t __cdecl WorkSize2(const ResizeParams *, int32_t) {
  fault_plan::FaultIfPlanned("GetWorkSize2");
  return 64;
}

void __cdecl Routine(void *, const void *, ResizeParams *, int32_t index, int32_t count) {
  if (index == count - 1) fault_plan::FaultIfPlanned("Routine");
}

const FilterPluginInfo kInfo = {"Faulty", WorkSize1, WorkSize2, Routine, Routine, Routine,
                                Routine,  Routine,   Routine,   16,      16,      48};

const FilterPluginInfo *Info() {
  fault_plan::FaultIfPlanned("GetFilterPluginInfo");
  return &kInfo;
}

}  // namespace

extern "C" __attribute__((dllexport)) const FilterPluginInfo *__stdcall GetFilterPluginInfo2() {
  return Info();
}
extern "C" __attribute__((dllexport)) const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() {
  return Info();
}
