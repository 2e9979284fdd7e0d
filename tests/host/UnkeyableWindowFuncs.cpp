// A window-function library whose function names cannot be keys of the settings file (a line
// break, "=", "[", "]", a trailing blank), beside one that can.
#include "contracts/WindowFuncInfo.h"

namespace {

WindowFuncHandle __cdecl Create(int32_t param) { return param + 1; }
double __cdecl Evaluate(double x, WindowFuncHandle) { return x > -1.0 && x < 1.0 ? 1.0 : 0.0; }
int32_t __cdecl GetRadius(WindowFuncHandle) { return 1; }
void __cdecl Release(WindowFuncHandle) {}

#define FUNCTION(name) {name, "value", 1, 9, 4, 0, Create, Evaluate, GetRadius, Release}

const WindowFuncInfo kFunctions[] = {FUNCTION("Line\r\n[Break]\r\nKey"), FUNCTION("Bad=Name"),
                                     FUNCTION("[Section"), FUNCTION("Close]"),
                                     FUNCTION("Trailing "), FUNCTION("Keyable")};

}  // namespace

extern "C" __attribute__((dllexport)) const WindowFuncInfo *__stdcall GetWindowFuncPluginInfo(int32_t index) {
  const int32_t count = sizeof kFunctions / sizeof kFunctions[0];
  return index >= 0 && index < count ? &kFunctions[index] : nullptr;
}
