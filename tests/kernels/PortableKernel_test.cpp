#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "common/mmutil.h"
#include "kernels/EngineRun.h"

namespace {

constexpr FrameFormat kYC48 = FrameFormat::YC48;
constexpr FrameFormat kYUY2 = FrameFormat::YUY2;

struct Sizes {
  int32_t srcWidth, srcHeight, dstWidth, dstHeight;
};

std::string Describe(const ResizeCase &c) {
  std::ostringstream text;
  text << (c.format == kYC48 ? "YC48" : "YUY2") << " kind " << int(c.kind) << ", "
       << c.srcWidth << "x" << c.srcHeight << " -> " << c.dstWidth << "x" << c.dstHeight << ", "
       << c.threads << " threads, seed " << c.seed
       << (c.range == CoeffRange::Full ? ", full-range coefficients" : "");
  return text.str();
}

void ExpectMatchesReference(const ResizeCase &c) {
  SCOPED_TRACE(Describe(c));
  EngineRun run(c);
  run.ExpectOutput(ReferenceResult(run, c));
}

// Every size with each weight kind and 1 to 4 worker threads.
void ExpectAllMatch(FrameFormat format, std::initializer_list<uint8_t> kinds,
                    std::initializer_list<Sizes> sizes, CoeffRange range = CoeffRange::Moderate) {
  uint32_t seed = 1;
  for (const Sizes &s : sizes)
    for (uint8_t kind : kinds)
      for (int threads = 1; threads <= 4; ++threads)
        ExpectMatchesReference({format, kind, s.srcWidth, s.srcHeight, s.dstWidth, s.dstHeight,
                                threads, range, seed++});
}

const std::initializer_list<uint8_t> kBothKinds = {kSharedWeights, kSeparateWeights};

// Odd lengths put a padding coefficient on the position one past the frame; a source length
// of 1 is nothing but the first pair. Sources or targets fill the buffers up to the guard page.

TEST(PortableKernelYC48, HorizontalInPlaceMatchesReference) {
  ExpectAllMatch(kYC48, kBothKinds,
                 {{37, 9, 20, 9}, {40, 8, 19, 8}, {21, 7, 64, 7}, {1, 5, 6, 5}, {300, 3, 7, 3}});
}

TEST(PortableKernelYC48, VerticalMatchesReference) {
  ExpectAllMatch(kYC48, kBothKinds,
                 {{9, 37, 9, 20}, {8, 40, 8, 19}, {7, 21, 7, 64}, {5, 1, 5, 6}, {3, 300, 3, 7}});
}

TEST(PortableKernelYC48, CombinedMatchesReferenceOverTheTiles) {
  // 3 x 3 tiles with partial last ones, a single column of tiles, a single row of tiles, a
  // single tile for up to 4 threads, and a 1 x 1 source.
  ExpectAllMatch(kYC48, kBothKinds,
                 {{300, 20, 517, 37}, {301, 50, 77, 17}, {131, 40, 600, 9}, {20, 11, 9, 5},
                  {1, 1, 3, 2}});
}

TEST(PortableKernelYC48, SumsWrapAroundIn32Bits) {
  ExpectAllMatch(kYC48, kBothKinds, {{37, 9, 20, 9}, {9, 37, 9, 20}, {40, 30, 300, 17}},
                 CoeffRange::Full);
}

TEST(PortableKernelYUY2, HorizontalInPlaceMatchesReference) {
  ExpectAllMatch(kYUY2, {kSeparateWeights},
                 {{38, 9, 20, 9}, {20, 8, 64, 8}, {2, 3, 10, 3}, {600, 2, 6, 2}, {30, 5, 26, 5}});
}

TEST(PortableKernelYUY2, VerticalMatchesReference) {
  ExpectAllMatch(kYUY2, {kSeparateWeights},
                 {{8, 37, 8, 20}, {6, 40, 6, 19}, {4, 21, 4, 64}, {2, 1, 2, 6}});
}

TEST(PortableKernelYUY2, CombinedMatchesReferenceOverTheTiles) {
  ExpectAllMatch(kYUY2, {kSeparateWeights},
                 {{200, 20, 520, 37}, {602, 50, 78, 17}, {20, 11, 10, 5}, {2, 1, 6, 3}});
}

TEST(PortableKernelYUY2, SumsWrapAroundIn32Bits) {
  ExpectAllMatch(kYUY2, {kSeparateWeights}, {{38, 9, 20, 9}, {8, 37, 8, 20}, {40, 30, 300, 17}},
                 CoeffRange::Full);
}

// A shared-weight table has one entry per column, not the YUY2 layout. The YUY2 record's
// shared-weight routines read no table and no source, and paint the pass's output region black
// (Y 16, U and V 128), whatever the thread count. Called directly: the engine reads a YUY2
// horizontal table in the YUY2 layout when it cuts tiles, whatever the setter's kind.
TEST(PortableKernelYUY2, SharedWeightSlotsPaintTheOutputBlack) {
  const FilterPluginInfo &kernel = PortableKernel(kYUY2);
  const int32_t maxW = 40, maxH = 37, lineSize = 2 * maxW;
  struct Slot {
    KernelRoutine routine;
    int32_t srcWidth, srcHeight, dstWidth, dstHeight, outWidth, outHeight;
  };
  for (const Slot &s : {Slot{kernel.ResizeH, 40, 9, 20, 9, 20, 9},
                        Slot{kernel.ResizeV, 8, 37, 8, 20, 8, 20},
                        Slot{kernel.ResizeHV, 30, 20, 40, 37, 40, 37}}) {
    for (int32_t threads = 1; threads <= 3; ++threads) {
      SCOPED_TRACE(testing::Message() << s.outWidth << "x" << s.outHeight << ", " << threads
                                      << " threads");
      GuardedFrame dst(lineSize * maxH);
      std::memset(dst.Data(), 0x5A, dst.Size());
      ResizeParams p{};
      p.SrcWidth = s.srcWidth;
      p.SrcHeight = s.srcHeight;
      p.DstWidth = s.dstWidth;
      p.DstHeight = s.dstHeight;
      p.LineSize = lineSize;
      for (int32_t i = 0; i < threads; ++i) s.routine(dst.Data(), nullptr, &p, i, threads);
      for (int32_t y = 0; y < maxH; ++y)
        for (int32_t b = 0; b < lineSize; ++b) {
          const bool inside = y < s.outHeight && b < 2 * s.outWidth;
          const int want = !inside ? 0x5A : b % 2 == 0 ? 16 : 128;
          ASSERT_EQ(dst.Data()[y * lineSize + b], want) << "byte " << b << ", line " << y;
        }
    }
  }
}

// The engine refuses odd YUY2 widths, but the table layout allows one: the last column has a
// luma entry and no chroma entry, so its chroma byte gets the neutral value 128.
TEST(PortableKernelYUY2, OddTargetWidthEndsInALumaOnlyPixel) {
  const int32_t srcWidth = 10, dstWidth = 7, height = 3, lineSize = srcWidth * 2;
  std::mt19937 rng(5);
  GuardedFrame frame(lineSize * height);
  for (size_t i = 0; i < frame.Size(); ++i) frame.Data()[i] = static_cast<uint8_t>(rng());
  const Frame source{kYUY2, srcWidth, height, lineSize,
                     std::vector<uint8_t>(frame.Data(), frame.Data() + frame.Size())};

  ResizeParams p{};
  p.SrcWidth = srcWidth;
  p.SrcHeight = p.DstHeight = height;
  p.DstWidth = dstWidth;
  p.LineSize = lineSize;
  p.HStep = 8;
  p.LinePairStep = 2 * lineSize;
  BuildRandomYUY2HorizontalTable(rng, &p.HWeights, srcWidth, dstWidth, p.HStep,
                                 CoeffRange::Moderate);
  const FilterPluginInfo &kernel = PortableKernel(kYUY2);
  p.Work1Size = kernel.GetWorkSize1(&p, 8);
  std::vector<uint8_t> work(p.Work1Size);
  p.Work1 = work.data();
  kernel.ResizeHSep(frame.Data(), frame.Data(), &p, 0, 1);

  const Frame expected = ReferenceHorizontal(source, p.HWeights, p.HStep, 4, dstWidth);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t *line = frame.Data() + y * lineSize;
    EXPECT_EQ(0, std::memcmp(line, &expected.bytes[y * lineSize], 2 * dstWidth)) << "line " << y;
    EXPECT_EQ(line[2 * dstWidth - 1], 128) << "line " << y;
    EXPECT_EQ(0, std::memcmp(line + 2 * dstWidth, &source.bytes[y * lineSize + 2 * dstWidth],
                             lineSize - 2 * dstWidth))
        << "line " << y << " written past the output";
  }
  AlignedFree(p.HWeights.Pool);
  AlignedFree(p.HWeights.Entries);
}

// The engine calls every slot without a check and divides by the tile sizes and the step.
TEST(PortableKernelRecords, BothRecordsAreComplete) {
  for (FrameFormat format : {kYC48, kYUY2}) {
    const FilterPluginInfo &k = PortableKernel(format);
    EXPECT_STREQ(k.Name, "C++");
    for (const void *slot : {(const void *)k.GetWorkSize1, (const void *)k.GetWorkSize2,
                             (const void *)k.ResizeH, (const void *)k.ResizeV,
                             (const void *)k.ResizeHSep, (const void *)k.ResizeVSep,
                             (const void *)k.ResizeHV, (const void *)k.ResizeHVSep})
      EXPECT_NE(slot, nullptr);
    EXPECT_TRUE(IsUsableKernel(k));
    EXPECT_EQ(k.BlockWidth % 2, 0u) << "YUY2 tiles must hold whole output pixel pairs";
  }
}

}  // namespace
