// One window function of a plug-in together with the instance a setter made of it and owns.
// In the plug-in (WindowFuncInstance.cpp) every call is guarded: one that faults takes the
// plug-in's library out of use and throws LibraryFault (common/LibraryCall.h), and so does a
// call into a library already out of use, which is not made. The RGBA engine, whose window
// functions are linked in, calls them directly (rgba/DirectWindowFuncInstance.cpp).
#pragma once

#include <windows.h>

#include <cstdint>

#include "contracts/WindowFuncInfo.h"

class WindowFuncInstance {
 public:
  // Creates an instance of `info` for `param`; any earlier instance must have been released.
  // Returns false when the plug-in's Create failed; the handle is kept and used regardless.
  bool Create(const WindowFuncInfo *info, int32_t param);
  // Gives the instance back to its plug-in, unless the library is out of use; a handle without
  // its record is never used again. Never throws.
  void Release();

  // The window's reach on each side of the centre. A plug-in reporting less than 1 would
  // leave every block without a tap, so the reach is at least 1.
  int32_t Radius() const;
  double Evaluate(double t) const;

  const WindowFuncInfo *Info() const { return info_; }
  WindowFuncHandle Handle() const { return handle_; }

 private:
  const WindowFuncInfo *info_ = nullptr;
  HMODULE library_ = nullptr;  // the library the record came from, null for a record of no list
  WindowFuncHandle handle_ = 0;
};
