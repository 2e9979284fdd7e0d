// Quorlin.auf2 as the editor sees it: its table and items, the sizes it makes in every mode,
// what it passes through, its alpha handling, its kernels and concurrent calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "effect-host/EffectModule.h"

namespace {

using effecthost::EffectModule;
using effecthost::RgbaFrame;
using effecthost::VideoResult;

constexpr PIXEL_RGBA kOpaqueRed{255, 0, 0, 255};
constexpr PIXEL_RGBA kClearGreen{0, 255, 0, 0};

class EffectTest : public ::testing::Test {
 protected:
  // One module for every test, as the editor keeps a plug-in loaded; each test starts from the
  // items' defaults.
  static void SetUpTestSuite() { effect = new EffectModule(QUORLIN_AUF2_PATH); }
  static void TearDownTestSuite() { delete effect; }
  void SetUp() override {
    Set(L"サイズの指定", L"拡大率");
    Set(L"拡大率", L"100");
    Set(L"幅", L"1920");
    Set(L"高さ", L"1080");
    Set(L"方式", L"Spline36");
    Set(L"パラメータ", L"0");
    Set(L"リニアで計算", L"0");
    Set(L"処理", L"自動");
  }
  static void Set(const std::wstring &name, const std::wstring &value) { effect->Set(name, value); }
  static VideoResult Run(const RgbaFrame &input) { return effect->ProcessVideo(input); }

  // Sets 幅と高さ mode and runs check(description) once for every method, リニアで計算 off and on,
  // and 幅 x 高さ given, with those items set.
  template <typename Check>
  static void ForEachSetting(
      std::initializer_list<const wchar_t *> methods,
      std::initializer_list<std::pair<const wchar_t *, const wchar_t *>> sizes, Check check) {
    Set(L"サイズの指定", L"幅と高さ");
    for (const wchar_t *method : methods) {
      for (const wchar_t *linear : {L"0", L"1"}) {
        for (const auto &[width, height] : sizes) {
          Set(L"方式", method);
          Set(L"リニアで計算", linear);
          Set(L"幅", width);
          Set(L"高さ", height);
          check(testing::PrintToString(std::wstring(method) + L" linear " + linear + L" " + width +
                                       L"x" + height));
        }
      }
    }
  }

  static EffectModule *effect;
};
EffectModule *EffectTest::effect = nullptr;

RgbaFrame RandomFrame(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  RgbaFrame frame = RgbaFrame::Filled(width, height, {});
  for (PIXEL_RGBA &pixel : frame.Pixels) {
    const uint32_t bits = random();
    pixel = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
  }
  return frame;
}

TEST_F(EffectTest, TableAndItemsAsTheEditorListsThem) {
  EXPECT_EQ(effect->Table().flag, FILTER_PLUGIN_TABLE::FLAG_VIDEO);  // no filter object
  EXPECT_STREQ(effect->Table().name, L"カルメリオ");
  EXPECT_NE(std::wstring(effect->Table().information).find(L"1."), std::wstring::npos);
  const std::vector<std::wstring> expected = {
      L"select サイズの指定 = 拡大率 (拡大率 / 幅と高さ / 幅に合わせる / 高さに合わせる)",
      L"track 拡大率 = 100 (1 to 1600, step 0.01)",
      L"track 幅 = 1920 (1 to 16384, step 1)",
      L"track 高さ = 1080 (1 to 16384, step 1)",
      L"select 方式 = Spline36 (",
      L"track パラメータ = 0 (0 to ",
      L"check リニアで計算 = 0",
      L"select 処理 = 自動 (自動 / AVX-512 / AVX2 / SSE2 / C++)"};
  const auto items = effect->Items();
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(effecthost::DescribeItem(items[i]).rfind(expected[i], 0), 0u)
        << "item " << i << ": " << testing::PrintToString(effecthost::DescribeItem(items[i]));
  }
  const std::wstring methods = effecthost::DescribeItem(items[4]);
  EXPECT_NE(methods.find(L"(Spline16 / Spline36 /"), std::wstring::npos);
  EXPECT_NE(methods.find(L"/ NearestNeighbor / AreaAverage)"), std::wstring::npos);
}

// The target in every size mode, passing through exactly when it equals the source, and
// clamped to 16384 a side (keeping the aspect where the mode keeps it).
TEST_F(EffectTest, SizeModesPassThroughAndClamping) {
  struct Case {
    const wchar_t *mode, *scale, *width, *height;
    int32_t sourceWidth, sourceHeight, targetWidth, targetHeight;
  };
  const Case cases[] = {
      {L"拡大率", L"100", L"1920", L"1080", 40, 30, 40, 30},
      {L"拡大率", L"50", L"1920", L"1080", 41, 30, 21, 15},  // 20.5 rounds up
      {L"拡大率", L"250.5", L"1920", L"1080", 10, 4, 25, 10},
      {L"拡大率", L"1", L"1920", L"1080", 40, 30, 1, 1},  // never below one pixel
      {L"拡大率", L"1600", L"1920", L"1080", 2048, 8, 16384, 64},
      {L"拡大率", L"1600", L"1920", L"1080", 2000, 10, 16384, 82},  // 32000x160 scaled to fit
      {L"幅と高さ", L"100", L"64", L"16", 40, 30, 64, 16},
      {L"幅と高さ", L"100", L"40", L"30", 40, 30, 40, 30},
      {L"幅に合わせる", L"100", L"20", L"1080", 40, 30, 20, 15},
      {L"幅に合わせる", L"100", L"16384", L"1080", 1, 100, 164, 16384},  // height scaled to fit
      {L"高さに合わせる", L"100", L"1920", L"45", 40, 30, 60, 45},
      {L"高さに合わせる", L"100", L"1920", L"30", 40, 30, 40, 30},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.mode)) + " " +
                 std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight));
    Set(L"サイズの指定", c.mode);
    Set(L"拡大率", c.scale);
    Set(L"幅", c.width);
    Set(L"高さ", c.height);
    const RgbaFrame input = RandomFrame(c.sourceWidth, c.sourceHeight, 7);
    const VideoResult result = Run(input);
    EXPECT_TRUE(result.Returned);
    EXPECT_EQ(result.Output.Width, c.targetWidth);
    EXPECT_EQ(result.Output.Height, c.targetHeight);
    const bool sameSize = c.sourceWidth == c.targetWidth && c.sourceHeight == c.targetHeight;
    EXPECT_EQ(result.ImageSet, !sameSize);
    if (sameSize) {
      EXPECT_EQ(result.Output.Pixels, input.Pixels);
    }
  }
}

// Objects of 0 or fewer pixels pass through; one too large for memory returns false with
// nothing written (its pixels are never asked for: the host holds none).
TEST_F(EffectTest, BadObjectSizes) {
  Set(L"サイズの指定", L"幅と高さ");
  Set(L"幅", L"8");
  Set(L"高さ", L"8");
  struct Case {
    int32_t width, height;
    bool returned;
  };
  const Case cases[] = {{0, 0, true},
                        {0, 5, true},
                        {5, 0, true},
                        {-3, 5, true},
                        {5, -1, true},
                        {1 << 30, 1 << 30, false},
                        {1 << 30, 1 << 16, false}};
  for (const Case &c : cases) {
    const VideoResult result = Run(RgbaFrame{c.width, c.height, {}});
    EXPECT_EQ(result.Returned, c.returned) << c.width << "x" << c.height;
    EXPECT_FALSE(result.ImageSet) << c.width << "x" << c.height;
  }
}

// An opaque red square on transparent green: no green (or blue) anywhere after resizing, since
// a transparent pixel lends no colour, and a fully transparent result pixel has colour 0.
TEST_F(EffectTest, NoColourFringeAtTransparentEdges) {
  RgbaFrame input = RgbaFrame::Filled(24, 24, kClearGreen);
  for (int32_t y = 7; y < 17; ++y) {
    for (int32_t x = 7; x < 17; ++x) input.At(x, y) = kOpaqueRed;
  }
  ForEachSetting(
      {L"Spline36", L"Lanczos", L"Bicubic", L"Gaussian", L"NearestNeighbor", L"AreaAverage"},
      {{L"37", L"37"}, {L"13", L"9"}}, [&](const std::string &setting) {
        const VideoResult result = Run(input);
        ASSERT_TRUE(result.ImageSet) << setting;
        bool someRed = false;
        for (const PIXEL_RGBA &pixel : result.Output.Pixels) {
          ASSERT_EQ(pixel.g, 0) << setting;
          ASSERT_EQ(pixel.b, 0) << setting;
          ASSERT_TRUE(pixel.a > 0 || pixel.r == 0) << setting;
          someRed |= pixel.a == 255 && pixel.r == 255;
        }
        EXPECT_TRUE(someRed) << setting;
      });
}

// The 処理 choices give the same bytes (a choice the processor lacks falls back).
TEST_F(EffectTest, EveryKernelGivesTheSameBytes) {
  const RgbaFrame input = RandomFrame(53, 29, 11);
  ForEachSetting({L"Spline36", L"Lanczos", L"AreaAverage", L"NearestNeighbor"},
                 {{L"31", L"70"}, {L"107", L"13"}}, [&](const std::string &setting) {
                   Set(L"処理", L"C++");
                   const RgbaFrame reference = Run(input).Output;
                   for (const wchar_t *isa : {L"自動", L"AVX-512", L"AVX2", L"SSE2"}) {
                     Set(L"処理", isa);
                     EXPECT_EQ(Run(input).Output.Pixels, reference.Pixels)
                         << setting << " " << testing::PrintToString(std::wstring(isa));
                   }
                 });
}

// パラメータ: 0 is the method's default, and a value outside its range acts as the nearest end.
TEST_F(EffectTest, ParameterZeroIsTheDefaultAndOthersAreClamped) {
  struct Case {
    const wchar_t *method, *given, *same;
  };
  const Case cases[] = {{L"Lanczos", L"0", L"3"},
                        {L"Lanczos", L"400", L"8"},
                        {L"Lanczos", L"1", L"2"},
                        {L"Spline36", L"5", L"0"}};
  const RgbaFrame input = RandomFrame(40, 40, 3);
  Set(L"サイズの指定", L"幅と高さ");
  Set(L"幅", L"17");
  Set(L"高さ", L"23");
  for (const Case &c : cases) {
    Set(L"方式", c.method);
    Set(L"パラメータ", c.given);
    const RgbaFrame given = Run(input).Output;
    Set(L"パラメータ", c.same);
    EXPECT_EQ(given.Pixels, Run(input).Output.Pixels)
        << testing::PrintToString(std::wstring(c.method) + L" " + c.given);
  }
  Set(L"方式", L"Lanczos");
  Set(L"パラメータ", L"2");
  const RgbaFrame two = Run(input).Output;
  Set(L"パラメータ", L"8");
  EXPECT_NE(two.Pixels, Run(input).Output.Pixels);  // the parameter does reach the engine
}

// リニアで計算: a one-pixel black-and-white checkerboard halved is grey 127-128 in sRGB values,
// 187-188 when averaged in linear light.
TEST_F(EffectTest, LinearLightChangesTheAverage) {
  RgbaFrame board = RgbaFrame::Filled(16, 16, {});
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      const uint8_t level = (x + y) % 2 ? 255 : 0;
      board.At(x, y) = {level, level, level, 255};
    }
  }
  Set(L"拡大率", L"50");
  Set(L"方式", L"AreaAverage");
  for (const auto &[linear, low, high] : {std::tuple{L"0", 127, 128}, {L"1", 187, 188}}) {
    Set(L"リニアで計算", linear);
    for (const PIXEL_RGBA &pixel : Run(board).Output.Pixels) {
      ASSERT_GE(pixel.r, low);
      ASSERT_LE(pixel.r, high);
      ASSERT_EQ(pixel.a, 255);
    }
  }
}

// Several objects at once, each on its own thread, give what each gives alone.
TEST_F(EffectTest, ConcurrentCallsMatchSingleCalls) {
  Set(L"拡大率", L"61.5");
  std::vector<RgbaFrame> inputs;
  std::vector<RgbaFrame> alone;
  for (int i = 0; i < 6; ++i) {
    inputs.push_back(RandomFrame(90 + 17 * i, 70 + 5 * i, 100 + i));
    alone.push_back(Run(inputs.back()).Output);
  }
  std::vector<std::vector<RgbaFrame>> together(inputs.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < inputs.size(); ++i) {
    threads.emplace_back([&, i] {
      for (int round = 0; round < 8; ++round) together[i].push_back(Run(inputs[i]).Output);
    });
  }
  for (std::thread &thread : threads) thread.join();
  for (size_t i = 0; i < inputs.size(); ++i) {
    for (const RgbaFrame &output : together[i]) {
      EXPECT_EQ(output.Width, alone[i].Width);
      EXPECT_EQ(output.Pixels, alone[i].Pixels) << "object " << i;
    }
  }
}

}  // namespace
