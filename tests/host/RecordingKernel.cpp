// A kernel library for the integration tests: its routines compute nothing and write down
// which of them ran and the first horizontal coefficients they were given. Built twice under
// two names, so that the kernel choice can be seen.
#include <windows.h>

#include "RecordingLogs.h"
#include "contracts/FilterPluginInfo.h"

extern "C" {
__attribute__((dllexport)) KernelLogRecord KernelLog;
}

namespace {

int32_t __cdecl NoWorkArea(const ResizeParams *, int32_t) { return 0; }

void RecordHorizontalBlock(const ResizeParams *params, int coefficients) {
  if (params->HWeights.Entries == nullptr) return;
  const int16_t *coeffs = params->HWeights.Entries[0].Coeffs;
  KernelLog.HPairCount = PairCount(coeffs);
  for (int i = 0; i < 4; ++i) KernelLog.HCoeffs[i] = i < coefficients ? coeffs[i] : 0;
}

template <int Routine, int Coefficients>
void __cdecl Record(void *, const void *, ResizeParams *params, int32_t index, int32_t) {
  if (index != 0) return;
  ++KernelLog.Calls[Routine];
  RecordHorizontalBlock(params, Coefficients);
}

const FilterPluginInfo kInfo = {
    RECORDING_KERNEL_NAME,
    NoWorkArea,
    NoWorkArea,
    Record<kResizeH, 2>,
    Record<kResizeV, 2>,
    Record<kResizeHSep, 4>,
    Record<kResizeVSep, 4>,
    Record<kResizeHV, 2>,
    Record<kResizeHVSep, 4>,
    16,
    16,
    48,
};

}  // namespace

extern "C" __attribute__((dllexport)) const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kInfo; }
extern "C" __attribute__((dllexport)) const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() {
  return &kInfo;
}
