// WindowFuncInstance for window functions linked into the same module: their records are called
// directly, as nothing can take a linked-in library out of use.
#include "engine/WindowFuncInstance.h"

bool WindowFuncInstance::Create(const WindowFuncInfo *info, int32_t param) {
  info_ = info;
  library_ = nullptr;
  handle_ = info->Create(param);
  return handle_ != 0;
}

void WindowFuncInstance::Release() {
  if (!info_) return;
  info_->Release(handle_);
  info_ = nullptr;
}

int32_t WindowFuncInstance::Radius() const {
  const int32_t radius = info_->GetRadius(handle_);
  return radius < 1 ? 1 : radius;
}

double WindowFuncInstance::Evaluate(double t) const { return info_->Evaluate(t, handle_); }
