// The size and sample aspect of a resized stream: a side computed from the input's stored shape
// as ffmpeg's scale filter computes it, and an aspect that keeps the picture's display shape.
#include <gtest/gtest.h>

#include "resizer/OutputGeometry.h"
#include "video-io/Y4mReader.h"

using namespace quorlin_resizer;

TEST(OutputGeometry, SizeAndAspectKeepTheInputsDisplayShape) {
  struct Case {
    const char *input;  // Y4M header
    SizeRequest request;
    int width, height;
    const char *aspect;
  };
  const Case cases[] = {
      // Anamorphic NTSC to square-sample 16:9 and to the same width.
      {"W720 H480 A10:11", {640, 360}, 640, 360, "135:176"},
      {"W720 H480 A10:11", {640, -2}, 640, 426, "639:704"},
      {"W720 H480 A10:11", {640, -1}, 640, 427, "1281:1408"},
      {"W1920 H1080 A1:1", {1280, -2}, 1280, 720, "1:1"},
      {"W1920 H1080 A1:1", {-2, 720}, 1280, 720, "1:1"},
      // The default size of another shape: square input samples become wide ones.
      {"W1920 H1080 A1:1", {512, 384}, 512, 384, "4:3"},
      // Halves round away from zero: 1000 x 1080 / 1920 = 562.5; to even: 281.25 x 2.
      {"W1920 H1080 A1:1", {1000, -1}, 1000, 563, "1126:1125"},
      {"W1920 H1080 A1:1", {1000, -2}, 1000, 562, "1124:1125"},
      {"W1921 H1081 A1:1", {-1, 1081}, 1921, 1081, "1:1"},
      // Unknown stays unknown; a malformed aspect is unknown.
      {"W720 H576 A0:0", {1024, 576}, 1024, 576, "0:0"},
      {"W720 H576 A16:x", {1024, 576}, 1024, 576, "0:0"},
  };
  for (const Case &c : cases) {
    const Y4mHeader input = ParseY4mHeader(std::string("YUV4MPEG2 ") + c.input);
    const FrameSize size = TargetSize(c.request, input);
    EXPECT_EQ(size.width, c.width) << c.input << " " << c.request.width;
    EXPECT_EQ(size.height, c.height) << c.input << " " << c.request.height;
    const Y4mHeader output = OutputHeaderFor(input, size.width, size.height, ChromaFormat::C420);
    EXPECT_EQ(output.aspect, c.aspect) << c.input << " -> " << size.width << "x" << size.height;
  }
}

TEST(OutputGeometry, AComputedSideOutsideTheFrameLimitsIsRefused) {
  const Y4mHeader wide = ParseY4mHeader("YUV4MPEG2 W16384 H2");
  EXPECT_THROW(TargetSize({100, -2}, wide), UsageError) << "0.0122 rounds to 0";
  EXPECT_THROW(TargetSize({-1, 16384}, ParseY4mHeader("YUV4MPEG2 W4 H2")), UsageError);
  EXPECT_THROW(TargetSize({100, -1}, wide), UsageError) << "100 x 2 / 16384 rounds to 0";
  EXPECT_EQ(TargetSize({8192, -1}, wide).height, 1);
}

TEST(OutputGeometry, ReducedTermsFitThirtyTwoBitsAndStayClose) {
  const struct {
    int64_t numerator, denominator;
  } cases[] = {{10LL * 720 * 360, 11LL * 480 * 640},
               {2147483647LL * 16384 * 16383, 2147483646LL * 3 * 3},
               {3141592653589793LL, 1000000000000000LL},
               {1LL << 40, 1},
               {1, 1LL << 40}};
  for (const auto &c : cases) {
    const Ratio reduced = Reduced(c.numerator, c.denominator);
    EXPECT_TRUE(reduced.Known()) << c.numerator << ":" << c.denominator;
    EXPECT_LE(reduced.numerator, 0x7FFFFFFF);
    EXPECT_LE(reduced.denominator, 0x7FFFFFFF);
    const double exact = static_cast<double>(c.numerator) / c.denominator;
    const double kept = static_cast<double>(reduced.numerator) / reduced.denominator;
    if (exact < 0x7FFFFFFF && exact > 1.0 / 0x7FFFFFFF) {
      EXPECT_NEAR(kept / exact, 1, 1e-9);
    }
  }
  EXPECT_EQ(Reduced(2592000, 3379200).numerator, 135);
  EXPECT_EQ(Reduced(2592000, 3379200).denominator, 176);
}
