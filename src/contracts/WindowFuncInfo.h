// The record a window-function library reports through "GetWindowFuncPluginInfo" (stdcall,
// one 32-bit index, null past the last function). It belongs to the library and is only read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contracts/Layout32.h"

typedef intptr_t WindowFuncHandle;  // opaque instance; 0 means Create failed

struct WindowFuncInfo {
  const char *Name;          // lookup key, the text in the method lists, part of "Func_" keys
  const char *ParamLabel;    // caption of the parameter control; null: no user parameter
  int16_t ParamMin;          // parameter range and default, signed
  int16_t ParamMax;
  int16_t ParamDefault;
  int16_t Reserved;
  WindowFuncHandle(__cdecl *Create)(int32_t param);
  double(__cdecl *Evaluate)(double x, WindowFuncHandle instance);  // weight at distance x
  int32_t(__cdecl *GetRadius)(WindowFuncHandle instance);          // reach on each side
  void(__cdecl *Release)(WindowFuncHandle instance);
};
CHECK_LAYOUT32(offsetof(WindowFuncInfo, ParamMin) == 8, "WindowFuncInfo layout");
CHECK_LAYOUT32(offsetof(WindowFuncInfo, ParamDefault) == 12, "WindowFuncInfo layout");
CHECK_LAYOUT32(offsetof(WindowFuncInfo, Create) == 16, "WindowFuncInfo layout");
CHECK_LAYOUT32(offsetof(WindowFuncInfo, Release) == 28, "WindowFuncInfo layout");
CHECK_LAYOUT32(sizeof(WindowFuncInfo) == 32, "WindowFuncInfo layout");

typedef const WindowFuncInfo *(__stdcall *GetWindowFuncPluginInfoFunc)(int32_t index);
