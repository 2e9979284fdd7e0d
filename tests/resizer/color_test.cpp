// Conversion between 8-bit Y4M and the editor's YC48 and YUY2 frames.
#include <gtest/gtest.h>

#include <algorithm>

#include "frames/ColorConversion.h"
#include "frames/FastestRows.h"
#include "frames/Yc48Rows.h"
#include "frames/Yuy2Rows.h"
#include "cpu/ProcessorFeatures.h"

using namespace quorlin_resizer;

TEST(Yc48Scaling, StudioRangeMapsOntoTheNominalRange) {
  EXPECT_EQ(LumaToYc48(16), 0);
  EXPECT_EQ(LumaToYc48(235), 4096);
  EXPECT_EQ(LumaToYc48(0), -299);  // (0-16)*4096/219 = -299.25
  EXPECT_EQ(LumaToYc48(255), 4470);
  EXPECT_EQ(ChromaToYc48(128), 0);
  EXPECT_EQ(ChromaToYc48(16), -2048);
  EXPECT_EQ(ChromaToYc48(240), 2048);
  EXPECT_EQ(ChromaToYc48(0), -2341);  // -128*4096/224 = -2340.57
}

TEST(Yc48Scaling, EveryByteSurvivesTheRoundTrip) {
  for (int value = 0; value < 256; ++value) {
    EXPECT_EQ(Yc48ToLuma(LumaToYc48(static_cast<uint8_t>(value))), value);
    EXPECT_EQ(Yc48ToChroma(ChromaToYc48(static_cast<uint8_t>(value))), value);
  }
}

TEST(Yc48Scaling, ResultsOutsideTheByteRangeAreClamped) {
  EXPECT_EQ(Yc48ToLuma(-2000), 0);
  EXPECT_EQ(Yc48ToLuma(30000), 255);
  EXPECT_EQ(Yc48ToChroma(-30000), 0);
  EXPECT_EQ(Yc48ToChroma(5000), 255);
  EXPECT_EQ(Yc48ToLuma(2048), 126);  // 16 + 109.5 rounds up
}

namespace {

Y4mFrame Patterned(int width, int height, ChromaFormat chroma) {
  Y4mFrame frame;
  frame.Resize(width, height, chroma);
  for (size_t i = 0; i < frame.y.size(); ++i) frame.y[i] = static_cast<uint8_t>(i * 37);
  for (size_t i = 0; i < frame.u.size(); ++i) {
    frame.u[i] = static_cast<uint8_t>(i * 53 + 9);
    frame.v[i] = static_cast<uint8_t>(255 - i * 29);
  }
  return frame;
}

}  // namespace

TEST(Yc48Frames, FourFourFourComesBackExactly) {
  const Y4mFrame frame = Patterned(5, 3, ChromaFormat::C444);
  std::vector<PIXEL_YC> pixels;
  Y4mToYc48(frame, pixels);
  Y4mFrame back;
  Yc48ToY4m(reinterpret_cast<const uint8_t *>(pixels.data()), 5, 3, 5 * 6, back);
  EXPECT_EQ(back.chroma, ChromaFormat::C444);
  EXPECT_EQ(back.y, frame.y);
  EXPECT_EQ(back.u, frame.u);
  EXPECT_EQ(back.v, frame.v);
}

TEST(Yc48Frames, SubsampledChromaCoversItsPixels) {
  const Y4mFrame frame = Patterned(5, 3, ChromaFormat::C420);  // chroma 3 x 2
  std::vector<PIXEL_YC> pixels;
  Y4mToYc48(frame, pixels);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const size_t chroma = (y / 2) * 3 + x / 2;
      EXPECT_EQ(pixels[y * 5 + x].cb, ChromaToYc48(frame.u[chroma])) << x << "," << y;
      EXPECT_EQ(pixels[y * 5 + x].cr, ChromaToYc48(frame.v[chroma])) << x << "," << y;
      EXPECT_EQ(pixels[y * 5 + x].y, LumaToYc48(frame.y[y * 5 + x]));
    }
  }
}

TEST(Yc48Frames, OutputHonoursTheRowStride) {
  std::vector<PIXEL_YC> image(4 * 2);  // rows of 4 pixels, frame 2 wide
  image[0] = {0, -2048, 2048};
  image[1] = {4096, 0, 0};
  image[4] = {2048, 2048, -2048};
  Y4mFrame out;
  Yc48ToY4m(reinterpret_cast<const uint8_t *>(image.data()), 2, 2, 4 * 6, out);
  EXPECT_EQ(out.y, (std::vector<uint8_t>{16, 235, 126, 16}));
  EXPECT_EQ(out.u, (std::vector<uint8_t>{16, 128, 240, 128}));
  EXPECT_EQ(out.v, (std::vector<uint8_t>{240, 128, 16, 128}));
}

TEST(Yuy2Frames, FourTwoTwoComesBackExactly) {
  const Y4mFrame frame = Patterned(6, 3, ChromaFormat::C422);
  std::vector<uint8_t> packed;
  Y4mToYuy2(frame, packed);
  ASSERT_EQ(packed.size(), 6u * 2 * 3);
  EXPECT_EQ(packed[0], frame.y[0]);
  EXPECT_EQ(packed[1], frame.u[0]);
  EXPECT_EQ(packed[2], frame.y[1]);
  EXPECT_EQ(packed[3], frame.v[0]);
  Y4mFrame back;
  Yuy2ToY4m(packed.data(), 6, 3, 12, back);
  EXPECT_EQ(back.chroma, ChromaFormat::C422);
  EXPECT_EQ(back.y, frame.y);
  EXPECT_EQ(back.u, frame.u);
  EXPECT_EQ(back.v, frame.v);
}

TEST(Yuy2Frames, FourFourFourChromaIsAveragedPerPair) {
  Y4mFrame frame;
  frame.Resize(2, 1, ChromaFormat::C444);
  frame.y = {10, 20};
  frame.u = {100, 103};  // 101.5 rounds up
  frame.v = {0, 255};
  std::vector<uint8_t> packed;
  Y4mToYuy2(frame, packed);
  EXPECT_EQ(packed, (std::vector<uint8_t>{10, 102, 20, 128}));
}

TEST(Yuy2Frames, FourTwoZeroChromaIsRepeatedOnBothRows) {
  const Y4mFrame frame = Patterned(4, 3, ChromaFormat::C420);  // chroma 2 x 2
  std::vector<uint8_t> packed;
  Y4mToYuy2(frame, packed);
  for (int y = 0; y < 3; ++y) {
    for (int pair = 0; pair < 2; ++pair) {
      EXPECT_EQ(packed[y * 8 + pair * 4 + 1], frame.u[(y / 2) * 2 + pair]);
      EXPECT_EQ(packed[y * 8 + pair * 4 + 3], frame.v[(y / 2) * 2 + pair]);
    }
  }
}

TEST(Yuy2Frames, OddWidthsAreRefused) {
  const Y4mFrame frame = Patterned(5, 2, ChromaFormat::C422);
  std::vector<uint8_t> packed;
  EXPECT_THROW(Y4mToYuy2(frame, packed), std::invalid_argument);
  std::vector<uint8_t> image(64);
  Y4mFrame out;
  EXPECT_THROW(Yuy2ToY4m(image.data(), 5, 2, 16, out), std::invalid_argument);
}

TEST(Yuy2Rows, VectorPathsMatchThePlainLoopsOnEveryLength) {
  std::vector<uint8_t> luma(2 * 40), u(40), v(40);
  for (size_t i = 0; i < luma.size(); ++i) luma[i] = static_cast<uint8_t>(i * 37 + 5);
  for (size_t i = 0; i < u.size(); ++i) {
    u[i] = static_cast<uint8_t>(i * 11 + 128);
    v[i] = static_cast<uint8_t>(250 - i * 7);
  }
  for (int pairs = 0; pairs <= 40; ++pairs) {
    // One byte past the row shows a write beyond its end.
    std::vector<uint8_t> fast(4 * pairs + 1, 0xAA), plain(4 * pairs + 1, 0xAA);
    PackYuy2Row(luma.data(), u.data(), v.data(), pairs, fast.data());
    PackYuy2RowPlain(luma.data(), u.data(), v.data(), pairs, plain.data());
    EXPECT_EQ(fast, plain) << pairs;
    std::vector<uint8_t> backLuma(2 * pairs + 1, 0xAA), backU(pairs + 1, 0xAA),
        backV(pairs + 1, 0xAA);
    UnpackYuy2Row(fast.data(), pairs, backLuma.data(), backU.data(), backV.data());
    std::vector<uint8_t> plainLuma = backLuma, plainU = backU, plainV = backV;
    UnpackYuy2RowPlain(fast.data(), pairs, plainLuma.data(), plainU.data(), plainV.data());
    EXPECT_EQ(backLuma, plainLuma) << pairs;
    EXPECT_EQ(backU, plainU) << pairs;
    EXPECT_EQ(backV, plainV) << pairs;
    EXPECT_TRUE(std::equal(backLuma.begin(), backLuma.end() - 1, luma.begin())) << pairs;
  }
}

TEST(Yc48Scaling, FrameConversionsAgreeWithTheReferenceForEverySample) {
  // Every 8-bit value on the way in, every 16-bit sample on the way out.
  Y4mFrame bytes;
  bytes.Resize(256, 1, ChromaFormat::C444);
  for (int i = 0; i < 256; ++i) bytes.y[i] = bytes.u[i] = bytes.v[i] = static_cast<uint8_t>(i);
  std::vector<PIXEL_YC> pixels;
  Y4mToYc48(bytes, pixels);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(pixels[i].y, LumaToYc48(static_cast<uint8_t>(i))) << i;
    ASSERT_EQ(pixels[i].cr, ChromaToYc48(static_cast<uint8_t>(i))) << i;
  }
  std::vector<PIXEL_YC> samples(65536);
  for (int i = 0; i < 65536; ++i) {
    const int16_t value = static_cast<int16_t>(i);
    samples[i] = PIXEL_YC{value, value, value};
  }
  Y4mFrame out;
  Yc48ToY4m(reinterpret_cast<const uint8_t *>(samples.data()), 65536, 1, 65536 * 6, out);
  for (int i = 0; i < 65536; ++i) {
    ASSERT_EQ(out.y[i], Yc48ToLuma(static_cast<int16_t>(i))) << i;
    ASSERT_EQ(out.u[i], Yc48ToChroma(static_cast<int16_t>(i))) << i;
  }
}

TEST(Yc48Rows, VectorPathMatchesThePlainLoopOnEveryLengthAndChromaLayout) {
  std::vector<uint8_t> luma(40), u(40), v(40);
  for (size_t i = 0; i < luma.size(); ++i) {
    luma[i] = static_cast<uint8_t>(i * 37 + 5);
    u[i] = static_cast<uint8_t>(i * 71 + 128);
    v[i] = static_cast<uint8_t>(250 - i * 13);
  }
  using Row = decltype(&ToYc48RowPlain);
  std::vector<std::pair<const char *, Row>> vectorRows{{"SSE2", &ToYc48RowSse2},
                                                       {"chosen", &ToYc48Row}};
  if (RunsAvx2(ThisProcessor())) vectorRows.emplace_back("AVX2", &ToYc48RowAvx2);
  // Rows are written from a 32-byte boundary and from one pixel past it: the AVX2 rows write
  // aligned rows past the caches. One pixel past the row shows a write beyond its end.
  const PIXEL_YC guard{0x5A5A, 0x5A5A, 0x5A5A};
  struct alignas(32) Row48 {
    PIXEL_YC pixels[48];
  };
  const auto guarded = [&guard](Row48 &row) { std::fill(row.pixels, row.pixels + 48, guard); };
  Row48 fastRow, plainRow;
  for (const auto &[name, row] : vectorRows)
    for (int offset : {0, 1})
      for (bool paired : {false, true})
        for (int width = 0; width <= 40; ++width) {
          guarded(fastRow);
          guarded(plainRow);
          PIXEL_YC *fast = fastRow.pixels + offset, *plain = plainRow.pixels + offset;
          row(luma.data(), u.data(), v.data(), width, paired, fast);
          ToYc48RowPlain(luma.data(), u.data(), v.data(), width, paired, plain);
          for (int x = 0; x <= width; ++x)
            ASSERT_TRUE(fast[x].y == plain[x].y && fast[x].cb == plain[x].cb &&
                        fast[x].cr == plain[x].cr)
                << name << " width " << width << " offset " << offset << " pixel " << x
                << (paired ? " paired" : "");
        }
  // From interpolated chroma, whose fractions overshoot the 8-bit range on both sides.
  std::vector<int16_t> uFractions(40), vFractions(40);
  for (int i = 0; i < 40; ++i) {
    uFractions[i] = static_cast<int16_t>(i * 517 - 2100);
    vFractions[i] = static_cast<int16_t>(18300 - i * 503);
  }
  using FractionRow = decltype(&ToYc48RowFromFractionsPlain);
  std::vector<std::pair<const char *, FractionRow>> fractionRows{
      {"SSE2", &ToYc48RowFromFractionsSse2}, {"chosen", &ToYc48RowFromFractions}};
  if (RunsAvx2(ThisProcessor())) fractionRows.emplace_back("AVX2", &ToYc48RowFromFractionsAvx2);
  for (const auto &[name, row] : fractionRows)
    for (int offset : {0, 1})
      for (int width = 0; width <= 40; ++width) {
        guarded(fastRow);
        guarded(plainRow);
        PIXEL_YC *fast = fastRow.pixels + offset, *plain = plainRow.pixels + offset;
        row(luma.data(), uFractions.data(), vFractions.data(), width, fast);
        ToYc48RowFromFractionsPlain(luma.data(), uFractions.data(), vFractions.data(), width,
                                    plain);
        for (int x = 0; x <= width; ++x)
          ASSERT_TRUE(fast[x].y == plain[x].y && fast[x].cb == plain[x].cb &&
                      fast[x].cr == plain[x].cr)
              << name << " fractions, width " << width << " offset " << offset << " pixel " << x;
      }
  // Back to bytes, from samples spread over the whole 16-bit range.
  std::vector<PIXEL_YC> samples(40);
  for (int i = 0; i < 40; ++i)
    samples[i] = PIXEL_YC{static_cast<int16_t>(i * 1693 - 32768),
                          static_cast<int16_t>(i * 97 - 2100),
                          static_cast<int16_t>(2300 - i * 111)};
  using BackRow = decltype(&FromYc48RowPlain);
  std::vector<std::pair<const char *, BackRow>> backRows{{"SSE2", &FromYc48RowSse2},
                                                         {"chosen", &FromYc48Row}};
  if (RunsAvx2(ThisProcessor())) backRows.emplace_back("AVX2", &FromYc48RowAvx2);
  for (const auto &[name, row] : backRows) {
    for (int width = 0; width <= 40; ++width) {
      std::vector<uint8_t> fast(3 * (width + 1), 0xAA), plain(3 * (width + 1), 0xAA);
      row(samples.data(), width, &fast[0], &fast[width + 1], &fast[2 * (width + 1)]);
      FromYc48RowPlain(samples.data(), width, &plain[0], &plain[width + 1],
                       &plain[2 * (width + 1)]);
      EXPECT_EQ(fast, plain) << name << " width " << width;
    }
  }
}
