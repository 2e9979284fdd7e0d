#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cpu/ProcessorFeatures.h"
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
  text << c.library << ", " << (c.format == kYC48 ? "YC48" : "YUY2") << " kind " << int(c.kind) << ", "
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

// Every test runs for each kernel library, fastest first; the portable kernel is the one the
// others must equal. A library that declines this processor is skipped, with the reason.
class KernelLibrary : public testing::TestWithParam<const char *> {
 protected:
  void SetUp() override { SkipWhereDeclined(GetParam()); }

  const FilterPluginInfo &Kernel(FrameFormat format) const {
    const FilterPluginInfo *kernel = KernelFrom(GetParam(), format);
    if (!kernel) throw std::runtime_error(std::string(GetParam()) + " declines this processor");
    return *kernel;
  }

  // Every size with each weight kind and 1 to 8 worker threads (the engine gives threads
  // beyond its slots no work).
  void ExpectAllMatch(FrameFormat format, std::initializer_list<uint8_t> kinds,
                      std::initializer_list<Sizes> sizes,
                      CoeffRange range = CoeffRange::Moderate) const {
    uint32_t seed = 1;
    for (const Sizes &s : sizes)
      for (uint8_t kind : kinds)
        for (int threads = 1; threads <= 8; ++threads)
          ExpectMatchesReference({format, kind, s.srcWidth, s.srcHeight, s.dstWidth, s.dstHeight,
                                  threads, range, seed++, GetParam()});
  }
};

using KernelYC48 = KernelLibrary;
using KernelYUY2 = KernelLibrary;
using KernelRecords = KernelLibrary;

const std::initializer_list<uint8_t> kBothKinds = {kSharedWeights, kSeparateWeights};

// Odd lengths put a padding coefficient on the position one past the frame; a source length
// of 1 is nothing but the first pair. Sources or targets fill the buffers up to the guard page.
// Widths below, at and just above a vector step (8, 16 and 32 samples) and lines of 3k + 1 or
// 3k + 2 samples take the scalar filters and the overlapping last step of the SIMD kernels.
// Heights above 16 fill whole groups of tile rows in every kernel, with a partial one after.

TEST_P(KernelYC48, HorizontalInPlaceMatchesReference) {
  ExpectAllMatch(kYC48, kBothKinds,
                 {{37, 9, 20, 9}, {40, 8, 19, 8}, {21, 7, 64, 7}, {1, 5, 6, 5}, {300, 3, 7, 3},
                  {45, 35, 23, 35}});
}

TEST_P(KernelYC48, VerticalMatchesReference) {
  ExpectAllMatch(kYC48, kBothKinds,
                 {{9, 37, 9, 20}, {8, 40, 8, 19}, {7, 21, 7, 64}, {5, 1, 5, 6}, {3, 300, 3, 7},
                  {11, 37, 11, 20}, {22, 21, 22, 64}});
}

TEST_P(KernelYC48, CombinedMatchesReferenceOverTheTiles) {
  // Several tiles with partial last ones, a single column of tiles, a single row of tiles, a
  // single tile for several threads, a 1 x 1 source, and a target wider than one tile of the
  // SIMD kernels.
  ExpectAllMatch(kYC48, kBothKinds,
                 {{300, 20, 517, 37}, {301, 50, 77, 17}, {131, 40, 600, 9}, {20, 11, 9, 5},
                  {1, 1, 3, 2}, {2101, 5, 2050, 19}});
}

TEST_P(KernelYC48, SumsWrapAroundIn32Bits) {
  ExpectAllMatch(kYC48, kBothKinds, {{37, 9, 20, 9}, {9, 37, 9, 20}, {40, 30, 300, 17}},
                 CoeffRange::Full);
}

TEST_P(KernelYUY2, HorizontalInPlaceMatchesReference) {
  ExpectAllMatch(kYUY2, {kSeparateWeights},
                 {{38, 9, 20, 9}, {20, 8, 64, 8}, {2, 3, 10, 3}, {600, 2, 6, 2}, {30, 5, 26, 5},
                  {46, 35, 22, 35}});
}

TEST_P(KernelYUY2, VerticalMatchesReference) {
  ExpectAllMatch(kYUY2, {kSeparateWeights},
                 {{8, 37, 8, 20}, {6, 40, 6, 19}, {4, 21, 4, 64}, {2, 1, 2, 6}, {16, 37, 16, 20},
                  {34, 21, 34, 64}});
}

TEST_P(KernelYUY2, CombinedMatchesReferenceOverTheTiles) {
  ExpectAllMatch(kYUY2, {kSeparateWeights},
                 {{200, 20, 520, 37}, {602, 50, 78, 17}, {20, 11, 10, 5}, {2, 1, 6, 3},
                  {2100, 5, 2050, 19}});
}

TEST_P(KernelYUY2, SumsWrapAroundIn32Bits) {
  ExpectAllMatch(kYUY2, {kSeparateWeights}, {{38, 9, 20, 9}, {8, 37, 8, 20}, {40, 30, 300, 17}},
                 CoeffRange::Full);
}

// A shared-weight table has one entry per column, not the YUY2 layout. The YUY2 record's
// shared-weight routines read no table and no source, and paint the pass's output region black
// (Y 16, U and V 128), whatever the thread count. Called directly: the engine reads a YUY2
// horizontal table in the YUY2 layout when it cuts tiles, whatever the setter's kind.
TEST_P(KernelYUY2, SharedWeightSlotsPaintTheOutputBlack) {
  const FilterPluginInfo &kernel = Kernel(kYUY2);
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
TEST_P(KernelYUY2, OddTargetWidthEndsInALumaOnlyPixel) {
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
  const FilterPluginInfo &kernel = Kernel(kYUY2);
  p.Work1Size = kernel.GetWorkSize1(&p, 8);
  p.Work2Size = kernel.GetWorkSize2(&p, 8);
  p.Work1 = static_cast<uint8_t *>(AlignedAlloc(p.Work1Size, 128));
  p.Work2 = static_cast<uint8_t *>(AlignedAlloc(p.Work2Size, 128));
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
  for (void *block : {p.HWeights.Pool, static_cast<void *>(p.HWeights.Entries),
                      static_cast<void *>(p.Work1), static_cast<void *>(p.Work2)})
    AlignedFree(block);
}

// The engine calls every slot without a check and divides by the tile sizes and the step.
TEST_P(KernelRecords, BothRecordsAreComplete) {
  const std::map<std::string, std::string> names = {
      {"Kernel0_AVX512.dll", "AVX-512"},
      {"Kernel1_AVX2.dll", "AVX2"},
      {"Kernel2_SSE2.dll", "SSE2"},
      {kPortableLibrary, "C++"},
      {kWholeVectorRecords, "AVX-512"},
      {kSplitVectorRecords, "AVX-512"}};
  for (FrameFormat format : {kYC48, kYUY2}) {
    const FilterPluginInfo &k = Kernel(format);
    EXPECT_EQ(k.Name, names.at(GetParam()));
    for (const void *slot : {(const void *)k.GetWorkSize1, (const void *)k.GetWorkSize2,
                             (const void *)k.ResizeH, (const void *)k.ResizeV,
                             (const void *)k.ResizeHSep, (const void *)k.ResizeVSep,
                             (const void *)k.ResizeHV, (const void *)k.ResizeHVSep})
      EXPECT_NE(slot, nullptr);
    EXPECT_TRUE(IsUsableKernel(k));
    EXPECT_EQ(k.BlockWidth % 2, 0u) << "YUY2 tiles must hold whole output pixel pairs";
  }
}

// The AVX-512 library is listed exactly where the processor and the system run its code (the
// compiler's own check, which reads the same CPUID and XGETBV bits, is the witness).
TEST(Avx512Library, IsListedExactlyWhereTheProcessorRunsIt) {
  __builtin_cpu_init();
  const bool runs = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                    __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vnni");
  for (FrameFormat format : {kYC48, kYUY2})
    EXPECT_EQ(KernelFrom("Kernel0_AVX512.dll", format) != nullptr, runs);
}

// Where the processor splits 512-bit operations in two, the AVX-512 library hands out the
// records built for it: YC48 tiles of a 256-bit vector's eight rows; elsewhere sixteen rows.
TEST(Avx512Library, HandsOutTheRecordsBuiltForTheProcessor) {
  SkipWhereDeclined("Kernel0_AVX512.dll");
  if (IsSkipped()) return;
  const bool splits = SplitsWideVectors(ThisProcessor());
  EXPECT_EQ(KernelFrom("Kernel0_AVX512.dll", kYC48)->BlockHeight, splits ? 8u : 16u);
  EXPECT_EQ(KernelFrom("Kernel0_AVX512.dll", kYUY2)->BlockHeight, 16u);
}

INSTANTIATE_TEST_SUITE_P(AllLibraries, KernelYC48, testing::ValuesIn(kKernelLibraries));
INSTANTIATE_TEST_SUITE_P(AllLibraries, KernelYUY2, testing::ValuesIn(kKernelLibraries));
INSTANTIATE_TEST_SUITE_P(AllLibraries, KernelRecords, testing::ValuesIn(kKernelLibraries));

}  // namespace
