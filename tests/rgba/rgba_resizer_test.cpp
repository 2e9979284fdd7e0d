// The RGBA engine end to end: every instruction set against the portable kernel, what
// premultiplying and linear light must give, copies by NearestNeighbor, failed allocations and
// calls from several threads at once.
#include "rgba/RgbaResizer.h"

#include <gtest/gtest.h>

#include <thread>

#include "rgba/RgbaImages.h"

namespace {

using rgba::Isa;
using rgba_test::MethodNamed;
using rgba_test::Options;
using rgba_test::OwnedImage;
using rgba_test::RandomImage;

OwnedImage Resized(const OwnedImage &src, int32_t width, int32_t height,
                   const rgba::ResizeOptions &options, rgba::ThreadPool &pool) {
  OwnedImage dst(width, height, 0xCD);
  OwnedImage source = src;
  EXPECT_TRUE(rgba::Resize(source.View(), dst.View(), options, pool));
  return dst;
}

struct Geometry {
  int32_t sw, sh, dw, dh;
};

// The portable kernel on one thread against every instruction set on three: bands of uneven
// sizes, each starting its rows afresh, must give the same bits as one band.
TEST(RgbaResizer, EveryInstructionSetMatchesThePortableKernel) {
  rgba::ThreadPool one(1), three(3);
  std::mt19937 random(30);
  const int methods = static_cast<int>(rgba::Methods().size());
  for (int round = 0; round < 60; ++round) {
    const Geometry g{1 + int32_t(random() % 70), 1 + int32_t(random() % 40),
                     1 + int32_t(random() % 90), 1 + int32_t(random() % 50)};
    const int method = round % methods;
    const bool linear = round % 3 == 0;
    const int32_t param = rgba::Methods()[method].ParamMax * int32_t(round % 2);
    const OwnedImage src = RandomImage(g.sw, g.sh, round);
    const OwnedImage expected =
        Resized(src, g.dw, g.dh, Options(method, linear, Isa::Portable, param), one);
    for (Isa isa : {Isa::Sse2, Isa::Avx2, Isa::Avx512}) {
      if (rgba::EffectiveIsa(isa) != isa) continue;
      const OwnedImage got = Resized(src, g.dw, g.dh, Options(method, linear, isa, param), three);
      ASSERT_EQ(got.Bytes, expected.Bytes)
          << rgba::Methods()[method].Name << " " << g.sw << "x" << g.sh << " -> " << g.dw << "x"
          << g.dh << (linear ? " linear" : "") << " isa " << static_cast<int>(isa);
    }
  }
}

// An opaque red square on transparent green: the green may not bleed into any edge, and a pixel
// that comes out transparent is black.
TEST(RgbaResizer, TransparentColourNeverBleeds) {
  rgba::ThreadPool pool(1);
  OwnedImage src(24, 24);
  for (int32_t y = 0; y < 24; ++y) {
    for (int32_t x = 0; x < 24; ++x) {
      const bool inside = x >= 8 && x < 16 && y >= 8 && y < 16;
      uint8_t *p = src.At(x, y);
      p[0] = inside ? 255 : 0;
      p[1] = inside ? 0 : 255;
      p[2] = 0;
      p[3] = inside ? 255 : 0;
    }
  }
  for (const char *method : {"Spline36", "Lanczos", "Bilinear", "Gaussian", "AreaAverage"}) {
    for (const Geometry g : {Geometry{24, 24, 57, 41}, Geometry{24, 24, 11, 9}}) {
      for (bool linear : {false, true}) {
        const OwnedImage dst =
            Resized(src, g.dw, g.dh, Options(MethodNamed(method), linear, Isa::Auto), pool);
        for (int32_t y = 0; y < g.dh; ++y) {
          for (int32_t x = 0; x < g.dw; ++x) {
            const uint8_t *p = dst.At(x, y);
            ASSERT_EQ(p[1], 0) << method << " at " << x << "," << y;
            if (p[3] == 0) {
              ASSERT_EQ(p[0], 0) << method << " at " << x << "," << y;
            }
          }
        }
      }
    }
  }
}

// A one-pixel black and white checkerboard halved: its mean light is half of white, which is byte
// 187.5 in sRGB; averaged in the bytes' own scale it is 127.5. Checked away from the borders, where
// the repeated edge pixels break the pattern within the filters' reach.
TEST(RgbaResizer, LinearLightAveragesLight) {
  rgba::ThreadPool pool(1);
  OwnedImage src(64, 64);
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      uint8_t *p = src.At(x, y);
      p[0] = p[1] = p[2] = (x + y) % 2 ? 255 : 0;
      p[3] = 255;
    }
  }
  struct Case {
    bool linear;
    int low, high;
  };
  for (const char *method : {"Spline36", "AreaAverage", "Lanczos"}) {
    for (const Case c : {Case{true, 187, 188}, Case{false, 127, 128}}) {
      const OwnedImage dst =
          Resized(src, 32, 32, Options(MethodNamed(method), c.linear, Isa::Auto), pool);
      for (int32_t y = 3; y < 29; ++y) {
        for (int32_t x = 3; x < 29; ++x) {
          for (int s = 0; s < 3; ++s) {
            ASSERT_GE(dst.At(x, y)[s], c.low) << method << " at " << x << "," << y;
            ASSERT_LE(dst.At(x, y)[s], c.high) << method << " at " << x << "," << y;
          }
          ASSERT_EQ(dst.At(x, y)[3], 255);
        }
      }
    }
  }
}

// Whole-number enlargements by NearestNeighbor copy each pixel into its block (a transparent pixel
// as transparent black), on every axis combination and in linear light too.
TEST(RgbaResizer, NearestNeighborCopiesPixelsAtWholeFactors) {
  rgba::ThreadPool pool(2);
  const OwnedImage src = RandomImage(13, 7, 5);
  for (const int32_t fx : {1, 2, 3}) {
    for (const int32_t fy : {1, 2, 5}) {
      for (bool linear : {false, true}) {
        const OwnedImage dst = Resized(
            src, 13 * fx, 7 * fy, Options(MethodNamed("NearestNeighbor"), linear, Isa::Auto), pool);
        for (int32_t y = 0; y < 7 * fy; ++y) {
          for (int32_t x = 0; x < 13 * fx; ++x) {
            const uint8_t *s = src.At(x / fx, y / fy);
            const uint8_t *d = dst.At(x, y);
            for (int c = 0; c < 4; ++c) {
              ASSERT_EQ(d[c], s[3] == 0 ? 0 : s[c]) << fx << "x" << fy << " at " << x << "," << y;
            }
          }
        }
      }
    }
  }
}

// Several threads resize different images through one pool at once; each gets what it gets alone.
TEST(RgbaResizer, ConcurrentCallsGiveTheirOwnResults) {
  rgba::ThreadPool pool(0);
  constexpr int kCallers = 4;
  std::vector<OwnedImage> sources, expected;
  for (int i = 0; i < kCallers; ++i) {
    sources.push_back(RandomImage(40 + 7 * i, 30 + 5 * i, 100 + i));
    expected.push_back(
        Resized(sources[i], 33 + 9 * i, 51 - 4 * i, Options(i, i % 2 == 1, Isa::Auto), pool));
  }
  std::vector<OwnedImage> results;
  for (int i = 0; i < kCallers; ++i) results.emplace_back(33 + 9 * i, 51 - 4 * i, 0xCD);
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&, i] {
      for (int repeat = 0; repeat < 20; ++repeat) {
        rgba::Resize(sources[i].View(), results[i].View(), Options(i, i % 2 == 1, Isa::Auto), pool);
      }
    });
  }
  for (std::thread &caller : callers) caller.join();
  for (int i = 0; i < kCallers; ++i) EXPECT_EQ(results[i].Bytes, expected[i].Bytes) << i;
}

TEST(RgbaResizer, BadImagesAreRefusedUntouched) {
  rgba::ThreadPool pool(1);
  OwnedImage src = RandomImage(8, 8, 1);
  OwnedImage dst(8, 8, 0xCD);
  const std::vector<uint8_t> before = dst.Bytes;
  const rgba::ResizeOptions options = Options(rgba::DefaultMethodIndex(), false, Isa::Auto);
  const rgba::Image good = dst.View();
  const std::vector<rgba::Image> badEither = {
      rgba::Image{good.Pixels, 0, 8, good.Stride}, rgba::Image{good.Pixels, 8, -1, good.Stride},
      rgba::Image{good.Pixels, 8, 8, 31}, rgba::Image{nullptr, 8, 8, good.Stride}};
  for (const rgba::Image &bad : badEither) {
    EXPECT_FALSE(rgba::Resize(src.View(), bad, options, pool));
    EXPECT_FALSE(rgba::Resize(bad, good, options, pool));
  }
  // Targets beyond the limits (the caller clamps them first).
  for (const rgba::Image &tooLarge :
       {rgba::Image{good.Pixels, rgba::kMaxSide + 1, 1, 1 << 20},
        rgba::Image{good.Pixels, rgba::kMaxSide, rgba::kMaxSide + 1, 1 << 20}}) {
    EXPECT_FALSE(rgba::Resize(src.View(), tooLarge, options, pool));
  }
  EXPECT_EQ(dst.Bytes, before);
}

TEST(RgbaResizer, MethodListEndsInTheBuiltInMethods) {
  const std::vector<rgba::MethodInfo> &methods = rgba::Methods();
  ASSERT_GE(methods.size(), 3u);
  EXPECT_EQ(methods[rgba::DefaultMethodIndex()].Name, "Spline36");
  EXPECT_EQ(methods[methods.size() - 2].Name, "NearestNeighbor");
  EXPECT_EQ(methods.back().Name, "AreaAverage");
  EXPECT_EQ(methods[MethodNamed("Lanczos")].ParamLabel, u8"半径");
}

}  // namespace
