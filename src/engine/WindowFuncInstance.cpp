#include "engine/WindowFuncInstance.h"

#include "common/LibraryCall.h"

bool WindowFuncInstance::Create(const WindowFuncInfo *info, int32_t param) {
  info_ = info;
  library_ = LibraryOfRecord(info);
  handle_ = 0;
  CallLibrary(library_, info, "Create", [&] { handle_ = info->Create(param); });
  return handle_ != 0;
}

void WindowFuncInstance::Release() {
  if (!info_) return;
  const WindowFuncInfo *info = info_;
  info_ = nullptr;
  TryCallLibrary(library_, "Release", [&] { info->Release(handle_); });
}

int32_t WindowFuncInstance::Radius() const {
  int32_t radius = 0;
  CallLibrary(library_, info_, "GetRadius", [&] { radius = info_->GetRadius(handle_); });
  return radius < 1 ? 1 : radius;
}

double WindowFuncInstance::Evaluate(double t) const {
  double weight = 0;
  CallLibrary(library_, info_, "Evaluate", [&] { weight = info_->Evaluate(t, handle_); });
  return weight;
}
