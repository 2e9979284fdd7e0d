#include "rgba/MethodList.h"

#include <windows.h>

#include <algorithm>

#include "engine/TAreaAverage.h"
#include "engine/TNearestNeighbor.h"
#include "engine/TNormalWeightSetter.h"
#include "contracts/WindowFuncInfo.h"
#include "rgba/RgbaResizer.h"

// The window-function table linked into this module (windowfuncs/WindowFuncTable.cpp).
extern "C" const WindowFuncInfo *__stdcall GetWindowFuncPluginInfo(int32_t index);

namespace rgba {
namespace {

constexpr const char *kDefaultMethod = "Spline36";
constexpr int kBuiltInMethods = 2;  // NearestNeighbor, AreaAverage, after the window functions

// The table's texts are in code page 932, as the 32-bit host shows them; callers get UTF-8. Leading
// spaces (which align the 32-bit dialog's captions) are dropped.
std::string Utf8Of(const char *cp932) {
  if (!cp932) return {};
  while (*cp932 == ' ') ++cp932;
  const int wideLength = MultiByteToWideChar(932, 0, cp932, -1, nullptr, 0);
  if (wideLength <= 1) return {};
  std::wstring wide(wideLength, L'\0');
  MultiByteToWideChar(932, 0, cp932, -1, wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
  utf8.resize(length - 1);
  return utf8;
}

std::vector<MethodInfo> BuildMethods() {
  std::vector<MethodInfo> methods;
  for (int i = 0; const WindowFuncInfo *info = GetWindowFuncPluginInfo(i); ++i) {
    methods.push_back(
        {info->Name, Utf8Of(info->ParamLabel), info->ParamMin, info->ParamMax, info->ParamDefault});
  }
  methods.push_back({"NearestNeighbor", "", 0, 0, 0});
  methods.push_back({"AreaAverage", "", 0, 0, 0});
  return methods;
}

}  // namespace

const std::vector<MethodInfo> &Methods() {
  static const std::vector<MethodInfo> methods = BuildMethods();
  return methods;
}

int DefaultMethodIndex() {
  const std::vector<MethodInfo> &methods = Methods();
  for (size_t i = 0; i < methods.size(); ++i) {
    if (methods[i].Name == kDefaultMethod) return static_cast<int>(i);
  }
  return 0;
}

std::unique_ptr<TWeightSetter> CreateWeightSetter(int methodIndex, int32_t param) {
  const int functions = static_cast<int>(Methods().size()) - kBuiltInMethods;
  if (methodIndex < 0 || methodIndex >= functions + kBuiltInMethods) {
    methodIndex = DefaultMethodIndex();
  }
  if (methodIndex == functions) return std::make_unique<TNearestNeighbor>();
  if (methodIndex == functions + 1) return std::make_unique<TAreaAverage>();
  const WindowFuncInfo *info = GetWindowFuncPluginInfo(methodIndex);
  const int32_t chosen =
      param == 0 ? info->ParamDefault : std::clamp<int32_t>(param, info->ParamMin, info->ParamMax);
  auto setter = std::make_unique<TNormalWeightSetter>();
  setter->SetWindowFunc(info, chosen);
  return setter;
}

}  // namespace rgba
