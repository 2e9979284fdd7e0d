// The SIMD kernels against the portable kernel on the tables the real setters build from the
// window-function library: Spline36 and Lanczos blocks, shared among outputs, with the padding
// and the odd starts the setters produce. Same source frame, same engine, every pass.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "engine/TIndependentWeightSetter.h"
#include "engine/TNormalWeightSetter.h"
#include "engine/TYUY2WeightSetter.h"
#include "kernels/EngineRun.h"
#include "plugins/WindowFuncPlugin.h"

namespace {

const TWndFuncPluginList &WindowFunctions() {
  static TWndFuncPluginList *functions = [] {
    auto *list = new TWndFuncPluginList();
    list->LoadPlugins("Z:" QUORLIN_DIST_DLL);
    return list;
  }();
  return *functions;
}

const WindowFuncInfo *Function(const char *name) {
  const int32_t index = WindowFunctions().IndexOfName(name);
  return index < 0 ? nullptr : WindowFunctions().Item(index);
}

struct Method {
  std::string name;
  FrameFormat format;
  uint8_t kind;
  std::function<TWeightSetter *()> make;
};

// One function for all channels (kind 0), Spline36 luma with Lanczos chroma (kind 1), and the
// YUY2 setter with both.
std::vector<Method> RealMethods() {
  const WindowFuncInfo *spline = Function("Spline36");
  const WindowFuncInfo *lanczos = Function("Lanczos");
  if (!spline || !lanczos) return {};
  std::vector<Method> methods;
  for (const WindowFuncInfo *f : {spline, lanczos})
    methods.push_back({f->Name, FrameFormat::YC48, kSharedWeights, [f] {
                         auto *setter = new TNormalWeightSetter();
                         setter->SetWindowFunc(f, f->ParamDefault);
                         return setter;
                       }});
  methods.push_back({"Spline36 luma, Lanczos chroma", FrameFormat::YC48, kSeparateWeights,
                     [spline, lanczos] {
                       auto *setter = new TIndependentWeightSetter();
                       setter->SetWindowFuncs(spline, lanczos, spline->ParamDefault,
                                              lanczos->ParamDefault);
                       return setter;
                     }});
  methods.push_back({"YUY2 Spline36 luma, Lanczos chroma", FrameFormat::YUY2, kSeparateWeights,
                     [spline, lanczos] {
                       auto *setter = new TYUY2WeightSetter();
                       setter->SetWindowFuncs(spline, lanczos, spline->ParamDefault,
                                              lanczos->ParamDefault);
                       return setter;
                     }});
  return methods;
}

class SimdKernelOnRealTables : public testing::TestWithParam<const char *> {
 protected:
  void SetUp() override { SkipWhereDeclined(GetParam()); }
};

// Shrinking by 3/2 and by an irrational-looking factor, enlarging, each axis alone, with odd
// YC48 sizes; YUY2 widths stay even as the engine requires.
TEST_P(SimdKernelOnRealTables, EqualsThePortableKernel) {
  const std::vector<Method> methods = RealMethods();
  ASSERT_FALSE(methods.empty()) << "Spline36 and Lanczos must come from WindowFuncs.dll";
  const int32_t sizes[][4] = {{480, 270, 320, 180}, {641, 363, 427, 241}, {320, 180, 482, 271},
                              {481, 31, 320, 31},   {32, 271, 32, 180},   {40, 30, 96, 75}};
  for (const Method &method : methods)
    for (const auto &s : sizes) {
      if (method.format == FrameFormat::YUY2 && (s[0] % 2 != 0 || s[2] % 2 != 0)) continue;
      SCOPED_TRACE(method.name + ", " + std::to_string(s[0]) + "x" + std::to_string(s[1]) +
                   " -> " + std::to_string(s[2]) + "x" + std::to_string(s[3]));
      ResizeCase c{method.format, method.kind, s[0], s[1], s[2], s[3], 2};
      c.makeSetter = method.make;
      const Frame expected = EngineRun(c).Output();
      c.library = GetParam();
      EngineRun fast(c);
      fast.ExpectOutput(expected);
    }
}

INSTANTIATE_TEST_SUITE_P(SimdLibraries, SimdKernelOnRealTables,
                         testing::Values("Kernel0_AVX512.dll", "Kernel1_AVX2.dll",
                                         "Kernel2_SSE2.dll"));

}  // namespace
