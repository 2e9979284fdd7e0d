// Properties every function of WindowFuncs.dll must have, checked by looping over the library's
// own table, and the documented catalogue of names, ranges, defaults and labels.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cmath>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugins/WindowFuncPlugin.h"

namespace {

std::string LibraryDirectory() {
  char path[MAX_PATH];
  const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of('\\') + 1) + WINDOWFUNCS_DIR_FROM_TEST;
}

// What docs/window-functions.md promises for each function, in the library's order.
struct Documented {
  const char *name;
  const char *label;  // code-page-932 bytes, or null
  int16_t min, max, def;
  int32_t defaultRadius;
  bool interpolating;       // 1 at 0, 0 at the other integers
  double partitionError;    // largest |sum of integer-spaced taps - 1|, or kNoPromise
};

const double kExact = 1e-12;
const double kNoPromise = HUGE_VAL;
const char *const kRadiusLabel = "  \x94\xBC\x8C\x61";  // "  半径"
const std::vector<Documented> kCatalogue = {
    {"Spline16", nullptr, 0, 0, 0, 2, true, kExact},
    {"Spline36", nullptr, 0, 0, 0, 3, true, kExact},
    {"Spline64", nullptr, 0, 0, 0, 4, true, kExact},
    {"Lanczos", kRadiusLabel, 2, 8, 3, 3, true, 0.02},
    {"Blackman", kRadiusLabel, 2, 8, 3, 3, true, 0.05},
    {"Bicubic", "  \x89\x73\x82\xB3", 0, 200, 50, 2, true, kExact},  // "  鋭さ"
    {"Bilinear", nullptr, 0, 0, 0, 1, true, kExact},
    {"Gaussian", "  \x82\xDA\x82\xA9\x82\xB5", 10, 400, 50, 2, false, kNoPromise},  // "  ぼかし"
    {"Spline100", nullptr, 0, 0, 0, 5, true, kExact},
    {"Spline144", nullptr, 0, 0, 0, 6, true, kExact},
    {"Sinc", kRadiusLabel, 2, 8, 3, 3, true, 0.16},
    {"Hann", kRadiusLabel, 2, 8, 3, 3, true, 0.03},
    {"Hamming", kRadiusLabel, 2, 8, 3, 3, true, 0.015},
    {"Welch", kRadiusLabel, 2, 8, 3, 3, true, 0.01},
    {"Cosine", kRadiusLabel, 2, 8, 3, 3, true, 0.015},
    {"Bohman", kRadiusLabel, 2, 8, 3, 3, true, 0.06},
    {"Hermite", nullptr, 0, 0, 0, 1, true, kExact},
    {"Mitchell", nullptr, 0, 0, 0, 2, false, kExact},
    {"Robidoux", nullptr, 0, 0, 0, 2, false, kExact},
    {"RobidouxSharp", nullptr, 0, 0, 0, 2, false, kExact},
};

const Documented &DocumentedAs(const std::string &name) {
  for (const Documented &doc : kCatalogue)
    if (name == doc.name) return doc;
  throw std::out_of_range("undocumented function " + name);
}

// Values of the published definitions at points where they have closed forms (and, for the
// Robidoux cubics, from their published B and C), for each function at one or two parameters.
struct KnownValue {
  const char *name;
  int32_t param;
  double x;
  double value;
};

const double kPi = 3.14159265358979323846;
const double kSqrt2 = 1.41421356237309504880;
const double kRobidouxB = 0.37821575509399867, kRobidouxSharpB = 0.26201451239901422;
const KnownValue kKnownValues[] = {
    {"Spline16", 0, 0.5, 23.0 / 40},
    {"Spline36", 0, 0.5, 91.0 / 152},
    {"Spline64", 0, 0.5, 341.0 / 568},
    {"Lanczos", 3, 0.5, (2 / kPi) * (std::sin(kPi / 6) / (kPi / 6))},
    // Blackman window 0.42 + 0.5 cos(pi x / 2) + 0.08 cos(pi x) at x = 1/2 of radius 2.
    {"Blackman", 2, 0.5, (2 / kPi) * (0.42 + 0.5 * std::cos(kPi / 4) + 0.08 * std::cos(kPi / 2))},
    // Bicubic: a = -param / 100; at x = 0.5 the value is 1 - (a + 3) / 4 + (a + 2) / 8.
    {"Bicubic", 0, 0.5, 0.5},
    {"Bicubic", 50, 0.5, 0.5625},
    {"Bicubic", 100, 0.5, 0.625},
    {"Bicubic", 200, 0.5, 0.75},
    {"Bicubic", 0, 1.5, 0.0},  // a = 0 has no negative lobe
    {"Bilinear", 0, 0.25, 0.75},
    // sigma = 0.5 and 1, radius 2 and 3.
    {"Gaussian", 50, 0.5, std::exp(-0.5) - std::exp(-8.0)},
    {"Gaussian", 100, 1.0, std::exp(-0.5) - std::exp(-4.5)},
    {"Spline100", 0, 0.5, 1273.0 / 2120},
    {"Spline100", 0, 4.5, 3.0 / 2120},
    {"Spline144", 0, 0.5, 4751.0 / 7912},
    {"Spline144", 0, 5.5, -3.0 / 7912},
    {"Sinc", 3, 0.5, 2 / kPi},
    {"Sinc", 2, 1.5, -2 / (3 * kPi)},
    {"Sinc", 8, 7.5, -2 / (15 * kPi)},
    {"Hann", 3, 1.5, -1 / (3 * kPi)},
    {"Hann", 2, 0.5, (2 / kPi) * (0.5 + kSqrt2 / 4)},
    {"Hamming", 3, 1.5, -0.36 / kPi},
    {"Hamming", 2, 0.5, (2 / kPi) * (0.54 + 0.23 * kSqrt2)},
    {"Welch", 3, 1.5, -1 / (2 * kPi)},
    {"Welch", 2, 0.5, (2 / kPi) * (15.0 / 16)},
    {"Cosine", 3, 1.5, -kSqrt2 / (3 * kPi)},
    {"Cosine", 2, 0.5, (2 / kPi) * std::sqrt(2 + kSqrt2) / 2},
    {"Bohman", 3, 1.5, -2 / (3 * kPi * kPi)},
    {"Bohman", 2, 1.5, (-2 / (3 * kPi)) * (kSqrt2 / (2 * kPi) - kSqrt2 / 8)},
    {"Hermite", 0, 0.5, 0.5},
    {"Mitchell", 0, 0.0, 8.0 / 9},
    {"Mitchell", 0, 1.0, 1.0 / 18},
    {"Mitchell", 0, 1.5, -5.0 / 144},
    {"Robidoux", 0, 0.0, 1 - kRobidouxB / 3},
    {"Robidoux", 0, 1.0, kRobidouxB / 6},
    {"Robidoux", 0, 1.5, -0.030982020408833444},
    {"RobidouxSharp", 0, 0.0, 1 - kRobidouxSharpB / 3},
    {"RobidouxSharp", 0, 1.0, kRobidouxSharpB / 6},
    {"RobidouxSharp", 0, 1.5, -0.04066545730008215},
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

  // The function of that name; the test stops when the library has none.
  static const WindowFuncInfo &Named(const std::string &name) {
    for (const WindowFuncInfo *info : Table())
      if (name == info->Name) return *info;
    throw std::out_of_range("no function " + name);
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

// Appended functions keep every earlier index, so the first function and stored settings stay.
TEST_F(WindowFuncsTest, TheTableIsTheDocumentedCatalogueInItsOrder) {
  const std::vector<const WindowFuncInfo *> table = Table();
  ASSERT_EQ(table.size(), kCatalogue.size());
  EXPECT_EQ(getInfo_(-1), nullptr);
  for (size_t i = 0; i < table.size(); ++i) {
    const Documented &doc = kCatalogue[i];
    const WindowFuncInfo &info = *table[i];
    SCOPED_TRACE(doc.name);
    EXPECT_STREQ(info.Name, doc.name);
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
    if (!DocumentedAs(info->Name).interpolating) continue;
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

TEST_F(WindowFuncsTest, IntegerSpacedTapsSumToOneWithinTheDocumentedBound) {
  for (const WindowFuncInfo *info : Table()) {
    const Documented &doc = DocumentedAs(info->Name);
    if (doc.partitionError == kNoPromise) continue;
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

TEST_F(WindowFuncsTest, FunctionsTakeTheirPublishedValues) {
  std::set<std::string> checked;
  for (const KnownValue &known : kKnownValues) {
    SCOPED_TRACE(std::string(known.name) + " " + std::to_string(known.param) + " at " +
                 std::to_string(known.x));
    Instance f(Named(known.name), known.param);
    EXPECT_NEAR(f(known.x), known.value, 1e-12);
    EXPECT_NEAR(f(-known.x), known.value, 1e-12);
    checked.insert(known.name);
  }
  for (const Documented &doc : kCatalogue) EXPECT_EQ(checked.count(doc.name), 1u) << doc.name;
}

TEST_F(WindowFuncsTest, ParametersMeanWhatTheDocumentationSays) {
  // The windowed sincs: the parameter is the radius in lobes.
  for (const Documented &doc : kCatalogue) {
    if (doc.label == nullptr || std::string(doc.label) != kRadiusLabel) continue;
    for (int32_t lobes = doc.min; lobes <= doc.max; ++lobes) {
      EXPECT_EQ(Instance(Named(doc.name), lobes).Radius(), lobes) << doc.name;
    }
  }

  // Gaussian: sigma = param / 100; the shift to 0 at the radius leaves differences unchanged.
  for (int32_t param : {10, 50, 100, 400}) {
    Instance g(Named("Gaussian"), param);
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
