// Properties every function of WindowFuncs.dll must have, checked by looping over the library's
// own table, and the documented catalogue of names, ranges, defaults and labels.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "plugins/WindowFuncPlugin.h"

namespace {

std::string LibraryDirectory() {
  char path[MAX_PATH];
  const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of('\\') + 1) + WINDOWFUNCS_DIR_FROM_TEST;
}

// What docs/window-functions.md promises for each function.
struct Documented {
  const char *label;  // code-page-932 bytes, or null
  int16_t min, max, def;
  int32_t defaultRadius;
  bool interpolating;       // 1 at 0, 0 at the other integers
  double partitionError;    // largest |sum of integer-spaced taps - 1|
};

const double kExact = 1e-12;
const char *const kRadiusLabel = "  \x94\xBC\x8C\x61";  // "  半径"
const std::map<std::string, Documented> kCatalogue = {
    {"Spline16", {nullptr, 0, 0, 0, 2, true, kExact}},
    {"Spline36", {nullptr, 0, 0, 0, 3, true, kExact}},
    {"Spline64", {nullptr, 0, 0, 0, 4, true, kExact}},
    {"Lanczos", {kRadiusLabel, 2, 8, 3, 3, true, 0.02}},
    {"Blackman", {kRadiusLabel, 2, 8, 3, 3, true, 0.05}},
    {"Bicubic", {"  \x89\x73\x82\xB3", 0, 200, 50, 2, true, kExact}},  // "  鋭さ"
    {"Bilinear", {nullptr, 0, 0, 0, 1, true, kExact}},
    {"Gaussian", {"  \x82\xDA\x82\xA9\x82\xB5", 10, 400, 50, 2, false, 0}},  // "  ぼかし"
};

// One instance, released when the test is done with it.
class Instance {
 public:
  Instance(const WindowFuncInfo &info, int32_t param)
      : info_(info), handle_(info.Create(param)) {}
  ~Instance() { info_.Release(handle_); }
  Instance(const Instance &) = delete;
  Instance &operator=(const Instance &) = delete;

  WindowFuncHandle Handle() const { return handle_; }
  int32_t Radius() const { return info_.GetRadius(handle_); }
  double operator()(double x) const { return info_.Evaluate(x, handle_); }

 private:
  const WindowFuncInfo &info_;
  WindowFuncHandle handle_;
};

class WindowFuncsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = LoadLibraryA((LibraryDirectory() + "\\WindowFuncs.dll").c_str());
    ASSERT_NE(library_, nullptr);
    getInfo_ = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
        reinterpret_cast<void *>(GetProcAddress(library_, "GetWindowFuncPluginInfo")));
    ASSERT_NE(getInfo_, nullptr);
  }
  static void TearDownTestSuite() { FreeLibrary(library_); }

  static std::vector<const WindowFuncInfo *> Table() {
    std::vector<const WindowFuncInfo *> table;
    for (int32_t i = 0; getInfo_(i) != nullptr; ++i) table.push_back(getInfo_(i));
    return table;
  }

  // The parameters worth checking: the whole range when it is small, else a spread over it.
  static std::vector<int32_t> ParamsOf(const WindowFuncInfo &info) {
    std::vector<int32_t> params;
    const int32_t step = std::max(1, (info.ParamMax - info.ParamMin) / 16);
    for (int32_t p = info.ParamMin; p < info.ParamMax; p += step) params.push_back(p);
    params.push_back(info.ParamMax);
    return params;
  }

  static HMODULE library_;
  static GetWindowFuncPluginInfoFunc getInfo_;
};
HMODULE WindowFuncsTest::library_ = nullptr;
GetWindowFuncPluginInfoFunc WindowFuncsTest::getInfo_ = nullptr;

TEST_F(WindowFuncsTest, TheTableIsTheDocumentedCatalogue) {
  std::map<std::string, const WindowFuncInfo *> listed;
  for (const WindowFuncInfo *info : Table()) listed[info->Name] = info;
  ASSERT_EQ(listed.size(), kCatalogue.size());
  EXPECT_EQ(Table().size(), kCatalogue.size()) << "a name appears twice";
  EXPECT_EQ(getInfo_(-1), nullptr);
  for (const auto &[name, doc] : kCatalogue) {
    SCOPED_TRACE(name);
    ASSERT_EQ(listed.count(name), 1u);
    const WindowFuncInfo &info = *listed[name];
    if (doc.label == nullptr) {
      EXPECT_EQ(info.ParamLabel, nullptr);
    } else {
      ASSERT_NE(info.ParamLabel, nullptr);
      EXPECT_EQ(std::string(info.ParamLabel), doc.label);  // code-page-932 bytes
    }
    EXPECT_EQ(info.ParamMin, doc.min);
    EXPECT_EQ(info.ParamMax, doc.max);
    EXPECT_EQ(info.ParamDefault, doc.def);
    Instance instance(info, info.ParamDefault);
    EXPECT_EQ(instance.Radius(), doc.defaultRadius);
  }
}

TEST_F(WindowFuncsTest, CreateClampsItsParameterToTheRange) {
  for (const WindowFuncInfo *info : Table()) {
    SCOPED_TRACE(info->Name);
    const std::vector<int32_t> below = {info->ParamMin - 1, -1, -32768, INT_MIN};
    // 65535 is -1 widened with zero bits, as the settings may hand it over.
    const std::vector<int32_t> above = {info->ParamMax + 1, 32767, 65535, INT_MAX};
    for (const auto &[values, bound] : {std::make_pair(below, info->ParamMin),
                                        std::make_pair(above, info->ParamMax)}) {
      Instance reference(*info, bound);
      for (int32_t value : values) {
        if (value >= info->ParamMin && value <= info->ParamMax) continue;
        SCOPED_TRACE(value);
        Instance clamped(*info, value);
        EXPECT_NE(clamped.Handle(), 0);
        ASSERT_EQ(clamped.Radius(), reference.Radius());
        for (double x = 0.0; x < reference.Radius(); x += 0.125) {
          EXPECT_EQ(clamped(x), reference(x)) << "x = " << x;
        }
      }
    }
  }
}

TEST_F(WindowFuncsTest, EveryInstanceHasAReachOfAtLeastOnePixelAndIsZeroFromThereOn) {
  for (const WindowFuncInfo *info : Table()) {
    for (int32_t param : ParamsOf(*info)) {
      SCOPED_TRACE(std::string(info->Name) + " " + std::to_string(param));
      Instance f(*info, param);
      EXPECT_NE(f.Handle(), 0);
      const int32_t radius = f.Radius();
      ASSERT_GE(radius, 1);
      for (double x : {radius + 0.0, radius + 0.5, radius + 1.0, 1e9, HUGE_VAL}) {
        EXPECT_EQ(f(x), 0.0) << "x = " << x;
        EXPECT_EQ(f(-x), 0.0) << "x = " << -x;
      }
      EXPECT_NE(f(0.0), 0.0);
    }
  }
}

TEST_F(WindowFuncsTest, IsSymmetricAndContinuousAtTheKnots) {
  const double epsilon = 1e-9;
  for (const WindowFuncInfo *info : Table()) {
    for (int32_t param : ParamsOf(*info)) {
      SCOPED_TRACE(std::string(info->Name) + " " + std::to_string(param));
      Instance f(*info, param);
      const int32_t radius = f.Radius();
      for (double x = 0.0; x <= radius + 0.5; x += 1.0 / 64) {
        EXPECT_EQ(f(x), f(-x)) << "x = " << x;
      }
      for (int32_t knot = 1; knot <= radius; ++knot) {
        EXPECT_NEAR(f(knot - epsilon), f(knot + epsilon), 1e-6) << "knot " << knot;
      }
    }
  }
}

TEST_F(WindowFuncsTest, InterpolatingFunctionsAreOneAtZeroAndZeroAtTheOtherIntegers) {
  for (const WindowFuncInfo *info : Table()) {
    if (!kCatalogue.at(info->Name).interpolating) continue;
    for (int32_t param : ParamsOf(*info)) {
      SCOPED_TRACE(std::string(info->Name) + " " + std::to_string(param));
      Instance f(*info, param);
      EXPECT_DOUBLE_EQ(f(0.0), 1.0);
      for (int32_t k = 1; k <= f.Radius(); ++k) {
        EXPECT_NEAR(f(k), 0.0, 1e-12) << "x = " << k;
      }
    }
  }
}

TEST_F(WindowFuncsTest, IntegerSpacedTapsOfInterpolatingFunctionsSumToOne) {
  for (const WindowFuncInfo *info : Table()) {
    const Documented &doc = kCatalogue.at(info->Name);
    if (!doc.interpolating) continue;
    for (int32_t param : ParamsOf(*info)) {
      SCOPED_TRACE(std::string(info->Name) + " " + std::to_string(param));
      Instance f(*info, param);
      const int32_t radius = f.Radius();
      for (double phase = 0.0; phase < 1.0; phase += 1.0 / 32) {
        double sum = 0.0;
        for (int32_t k = -radius - 1; k <= radius + 1; ++k) sum += f(phase + k);
        EXPECT_NEAR(sum, 1.0, doc.partitionError) << "phase " << phase;
      }
    }
  }
}

TEST_F(WindowFuncsTest, ParametersMeanWhatTheDocumentationSays) {
  std::map<std::string, const WindowFuncInfo *> byName;
  for (const WindowFuncInfo *info : Table()) byName[info->Name] = info;

  // Lanczos and Blackman: the parameter is the radius in lobes.
  for (const char *name : {"Lanczos", "Blackman"}) {
    for (int32_t lobes = 2; lobes <= 8; ++lobes) {
      EXPECT_EQ(Instance(*byName[name], lobes).Radius(), lobes) << name;
    }
  }
  const double pi = 3.14159265358979323846;
  EXPECT_NEAR(Instance(*byName["Lanczos"], 3)(0.5), (2.0 / pi) * (std::sin(pi / 6) / (pi / 6)),
              1e-15);
  // Blackman window 0.42 + 0.5 cos(pi x / 2) + 0.08 cos(pi x) at x = 1 of radius 2: 0.34.
  EXPECT_NEAR(Instance(*byName["Blackman"], 2)(0.5),
              (2.0 / pi) * (0.42 + 0.5 * std::cos(pi / 4) + 0.08 * std::cos(pi / 2)), 1e-15);

  // Bicubic: a = -param / 100; at x = 0.5 the value is 1 - (a + 3) / 4 + (a + 2) / 8.
  for (int32_t param : {0, 50, 100, 200}) {
    const double a = -param / 100.0;
    EXPECT_NEAR(Instance(*byName["Bicubic"], param)(0.5), 1.0 - (a + 3) / 4 + (a + 2) / 8, 1e-15)
        << param;
  }
  EXPECT_EQ(Instance(*byName["Bicubic"], 0)(1.5), 0.0);  // a = 0 has no negative lobe

  EXPECT_DOUBLE_EQ(Instance(*byName["Bilinear"], 0)(0.25), 0.75);

  // Gaussian: sigma = param / 100; the shift to 0 at the radius leaves differences unchanged.
  for (int32_t param : {10, 50, 100, 400}) {
    Instance g(*byName["Gaussian"], param);
    const double sigma = param / 100.0;
    EXPECT_EQ(g.Radius(), std::max(1, static_cast<int32_t>(std::ceil(3 * sigma - 1e-9))));
    EXPECT_NEAR(g(0.0) - g(sigma), 1.0 - std::exp(-0.5), 1e-12) << param;
  }
}

TEST_F(WindowFuncsTest, ThePlugInListOffersEveryFunctionOfTheLibrary) {
  TWndFuncPluginList list;
  list.LoadPlugins(LibraryDirectory().c_str());
  for (const WindowFuncInfo *info : Table()) {
    const int32_t index = list.IndexOfName(info->Name);
    ASSERT_GE(index, 0) << info->Name;
    EXPECT_EQ(list.Item(index), info);
  }
  EXPECT_GE(list.IndexOfName("Spline36"), 0);
}

}  // namespace
