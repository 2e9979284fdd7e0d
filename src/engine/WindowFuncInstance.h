// One window function of a plug-in together with the instance a setter made of it and owns.
#pragma once

#include <cstdint>

#include "plugins/WindowFuncInfo.h"

class WindowFuncInstance {
 public:
  // Creates an instance of `info` for `param`; any earlier instance must have been released.
  // Returns false when the plug-in's Create failed; the handle is kept and used regardless.
  bool Create(const WindowFuncInfo *info, int32_t param);
  // Gives the instance back to its plug-in; a handle without its record is never used again.
  void Release();

  // The window's reach on each side of the centre. A plug-in reporting less than 1 would
  // leave every block without a tap, so the reach is at least 1.
  int32_t Radius() const;
  double Evaluate(double t) const { return info_->Evaluate(t, handle_); }

  const WindowFuncInfo *Info() const { return info_; }
  WindowFuncHandle Handle() const { return handle_; }

 private:
  const WindowFuncInfo *info_ = nullptr;
  WindowFuncHandle handle_ = 0;
};
