// The SIMD kernels against the portable kernel on the tables the real setters build from the
// window-function library: Spline36 and Lanczos blocks, shared among outputs, with the padding
// and the odd starts the setters produce. Same source frame, same engine, every pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "common/mmutil.h"
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

// The vertical coefficient sets of every shipped window function, at both ends and the default
// of its parameter, shrinking and enlarging: the YUY2 rows between the two passes of the
// combined pass, 16-bit samples in 1/64 (-512 to 511.98), hold the vertical result of any
// 8-bit source, which lies between 255 x the negative and 255 x the positive coefficients'
// sum. So they never saturate on a real setter's table.
TEST(RealTableRange, YUY2RowsBetweenThePassesHoldEveryVerticalResult) {
  ASSERT_GT(WindowFunctions().Count(), 0);
  double widest = 0;
  for (int32_t f = 0; f < WindowFunctions().Count(); ++f) {
    const WindowFuncInfo *function = WindowFunctions().Item(f);
    for (int16_t param : {function->ParamMin, function->ParamDefault, function->ParamMax})
      for (const auto &axis : {std::pair<int32_t, int32_t>{1080, 720}, {720, 1080}, {100, 99},
                               {99, 100}, {1000, 97}, {37, 480}}) {
        SCOPED_TRACE(testing::Message() << function->Name << " " << param << ", "
                                        << axis.first << " -> " << axis.second);
        TIndependentWeightSetter setter;
        setter.SetWindowFuncs(function, function, param, param);
        WeightTable table{};
        if (axis.second < axis.first)
          setter.SetShrinkWeights(&table, axis.first, axis.second, 1, 0);
        else
          setter.SetEnlargeWeights(&table, axis.first, axis.second, 1, 0);
        for (int32_t i = 0; i < axis.second; ++i) {
          const int16_t *coeffs = table.Entries[i].Coeffs;
          for (int set = 0; set < 2; ++set) {
            int32_t positive = 0, negative = 0;
            for (int32_t j = 0; j < PairCount(coeffs); ++j)
              for (int t = 0; t < 2; ++t) {
                const int16_t c = coeffs[4 * j + 2 * set + t];
                (c > 0 ? positive : negative) += c;
              }
            ASSERT_LE(255 * positive, 511 * 16384) << "output " << i;
            ASSERT_GE(255 * negative, -512 * 16384) << "output " << i;
            widest = std::max({widest, 255.0 * positive / 16384, -255.0 * negative / 16384});
          }
        }
        AlignedFree(table.Pool);
        AlignedFree(table.Entries);
      }
  }
  std::printf("widest vertical result of an 8-bit source: %.1f\n", widest);
}

// A bright quadrant (luma 255 on 0, chroma neutral) enlarged from 32 x 32 to 64 x 64 with
// Spline36 on both axes. Next to its corner the vertical half overshoots to 279; the horizontal
// half must see that overshoot to give line 30 its exact values: 219 at pixel 31, where a row
// clamped to 255 between the passes gives 200.
class BrightQuadrant : public testing::TestWithParam<const char *> {
 protected:
  void SetUp() override { SkipWhereDeclined(GetParam()); }
};

TEST_P(BrightQuadrant, KeepsItsOvershootBetweenThePasses) {
  const WindowFuncInfo *spline = Function("Spline36");
  ASSERT_NE(spline, nullptr);
  ResizeCase c{FrameFormat::YUY2, kSeparateWeights, 32, 32, 64, 64, 2};
  c.library = GetParam();
  c.makeSetter = [spline] {
    auto *setter = new TYUY2WeightSetter();
    setter->SetWindowFuncs(spline, spline, spline->ParamDefault, spline->ParamDefault);
    return setter;
  };
  c.paintSource = [](uint8_t *line, int32_t y) {
    for (int32_t x = 0; x < 32; ++x) {
      line[2 * x] = x < 16 && y < 16 ? 255 : 0;
      line[2 * x + 1] = 128;
    }
  };
  const Frame out = EngineRun(c).Output();
  const uint8_t *line30 = &out.bytes[30 * out.lineSize];
  // Pixels 24 to 39; the exact values are 255 (from 279.3 and more), 219.0, 60.3, 0 (from
  // -26.6 and -14.7), 5.3, 2.9 and 0.
  const int expected[16] = {255, 255, 255, 255, 255, 255, 255, 219, 60, 0, 0, 5, 3, 0, 0, 0};
  for (int32_t x = 24; x < 40; ++x) EXPECT_EQ(line30[2 * x], expected[x - 24]) << "pixel " << x;
  for (int32_t x = 0; x < 64; ++x) EXPECT_EQ(line30[2 * x + 1], 128) << "chroma of pixel " << x;
}

INSTANTIATE_TEST_SUITE_P(AllLibraries, BrightQuadrant, testing::ValuesIn(kKernelLibraries));

INSTANTIATE_TEST_SUITE_P(SimdLibraries, SimdKernelOnRealTables,
                         testing::Values("Kernel0_AVX512.dll", "Kernel1_AVX2.dll",
                                         "Kernel2_SSE2.dll", kWholeVectorRecords,
                                         kSplitVectorRecords));

}  // namespace
