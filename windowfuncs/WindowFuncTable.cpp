// The library's registry of window functions and the "GetWindowFuncPluginInfo" export. Each
// function is one row of kFunctions; the four C entry points of its record are generated from the
// row, so adding a function means adding a row.
//
// An instance needs no memory: its handle carries the clamped parameter as
// (parameter - ParamMin + 1), which is never 0. Release therefore has nothing to free, and a
// handle from any source decodes to a parameter inside the range.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "WindowFormulas.h"
#include "contracts/WindowFuncInfo.h"

namespace {

struct WindowFunction {
  const char *name;
  const char *paramLabel;  // null: the function has no parameter
  int16_t paramMin;
  int16_t paramMax;
  int16_t paramDefault;
  double (*shape)(double d, int32_t param);  // value at distance d inside the radius
  int32_t (*radius)(int32_t param);          // reach on each side, at least 1
};

template <int32_t R>
int32_t FixedRadius(int32_t) {
  return R;
}

// The parameter of the windowed sincs: the radius in lobes.
constexpr const char *kLobes = "  半径";

// In the order of the dialog's method lists. A stored method name that is not offered falls back
// to the first row, so the first row stays and new functions are appended.
constexpr WindowFunction kFunctions[] = {
    {"Spline16", nullptr, 0, 0, 0, Spline16Shape, FixedRadius<2>},
    {"Spline36", nullptr, 0, 0, 0, Spline36Shape, FixedRadius<3>},
    {"Spline64", nullptr, 0, 0, 0, Spline64Shape, FixedRadius<4>},
    {"Lanczos", kLobes, 2, 8, 3, LanczosShape, LobeRadius},
    {"Blackman", kLobes, 2, 8, 3, BlackmanShape, LobeRadius},
    {"Bicubic", "  鋭さ", 0, 200, 50, BicubicShape, FixedRadius<2>},
    {"Bilinear", nullptr, 0, 0, 0, BilinearShape, FixedRadius<1>},
    {"Gaussian", "  ぼかし", 10, 400, 50, GaussianShape, GaussianRadius},
    {"Spline100", nullptr, 0, 0, 0, Spline100Shape, FixedRadius<5>},
    {"Spline144", nullptr, 0, 0, 0, Spline144Shape, FixedRadius<6>},
    {"Sinc", kLobes, 2, 8, 3, SincShape, LobeRadius},
    {"Hann", kLobes, 2, 8, 3, HannShape, LobeRadius},
    {"Hamming", kLobes, 2, 8, 3, HammingShape, LobeRadius},
    {"Welch", kLobes, 2, 8, 3, WelchShape, LobeRadius},
    {"Cosine", kLobes, 2, 8, 3, CosineShape, LobeRadius},
    {"Bohman", kLobes, 2, 8, 3, BohmanShape, LobeRadius},
    {"Hermite", nullptr, 0, 0, 0, HermiteShape, FixedRadius<1>},
    {"Mitchell", nullptr, 0, 0, 0, MitchellShape, FixedRadius<2>},
    {"Robidoux", nullptr, 0, 0, 0, RobidouxShape, FixedRadius<2>},
    {"RobidouxSharp", nullptr, 0, 0, 0, RobidouxSharpShape, FixedRadius<2>},
};
constexpr size_t kFunctionCount = sizeof(kFunctions) / sizeof(kFunctions[0]);

int32_t ClampToRange(const WindowFunction &function, int32_t param) {
  return std::min<int32_t>(std::max<int32_t>(param, function.paramMin), function.paramMax);
}

int32_t ParamOf(const WindowFunction &function, WindowFuncHandle instance) {
  return ClampToRange(function, static_cast<int32_t>(instance - 1 + function.paramMin));
}

template <size_t I>
WindowFuncHandle __cdecl Create(int32_t param) {
  const WindowFunction &function = kFunctions[I];
  return ClampToRange(function, param) - function.paramMin + 1;
}

template <size_t I>
int32_t __cdecl GetRadius(WindowFuncHandle instance) {
  const WindowFunction &function = kFunctions[I];
  return function.radius(ParamOf(function, instance));
}

template <size_t I>
double __cdecl Evaluate(double x, WindowFuncHandle instance) {
  const WindowFunction &function = kFunctions[I];
  const int32_t param = ParamOf(function, instance);
  const double d = std::fabs(x);
  return d < function.radius(param) ? function.shape(d, param) : 0.0;
}

void __cdecl Release(WindowFuncHandle) {}

template <size_t I>
constexpr WindowFuncInfo RecordOf() {
  const WindowFunction &function = kFunctions[I];
  return WindowFuncInfo{function.name,     function.paramLabel,   function.paramMin,
                        function.paramMax, function.paramDefault, 0,
                        Create<I>,         Evaluate<I>,           GetRadius<I>,
                        Release};
}

template <size_t... I>
constexpr std::array<WindowFuncInfo, sizeof...(I)> RecordsOf(std::index_sequence<I...>) {
  return {{RecordOf<I>()...}};
}

constexpr std::array<WindowFuncInfo, kFunctionCount> kRecords =
    RecordsOf(std::make_index_sequence<kFunctionCount>());

}  // namespace

// Exported undecorated through WindowFuncs.def.
extern "C" const WindowFuncInfo *__stdcall GetWindowFuncPluginInfo(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= kRecords.size()) return nullptr;
  return &kRecords[index];
}
