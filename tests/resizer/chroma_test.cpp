// Subsampled chroma interpolated by its Y4M siting and subsampled again for the output. A ramp
// shows where the samples are taken to sit: Spline36 reproduces a straight line exactly, so any
// misplaced sample is off by the slope times its misplacement.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "cpu/ProcessorFeatures.h"
#include "frames/ChromaColumns.h"
#include "frames/ChromaResampler.h"
#include "frames/ChromaRows.h"
#include "frames/FastestRows.h"
#include "frames/ColorConversion.h"
#include "frames/FrameConversion.h"
#include "video-io/Y4mReader.h"

using namespace quorlin_resizer;

namespace {

constexpr int kWidth = 36, kHeight = 24, kMargin = 6;  // the ramp's interior: no edge taps
constexpr double kSlopeX = 2.5, kSlopeY = 2.0;          // 8-bit steps per luma sample

double Ramp(double x, double y) { return 40 + kSlopeX * x + kSlopeY * y; }

// A frame whose chroma sample (j, i) holds the ramp where the siting puts that sample.
Y4mFrame RampFrame(const Y4mHeader &header) {
  Y4mFrame frame;
  frame.Resize(header.width, header.height, header.chroma);
  const bool wide = header.chroma != ChromaFormat::C444, tall = header.chroma == ChromaFormat::C420;
  for (int i = 0; i < frame.ChromaHeight(); ++i)
    for (int j = 0; j < frame.ChromaWidth(); ++j) {
      const double x = wide ? 2 * j + (header.siting.left ? 0 : 0.5) : j;
      const double y = tall ? 2 * i + (header.siting.top ? 0 : 0.5) : i;
      const size_t at = static_cast<size_t>(i) * frame.ChromaWidth() + j;
      frame.u[at] = static_cast<uint8_t>(std::lround(Ramp(x, y)));
      frame.v[at] = static_cast<uint8_t>(255 - frame.u[at]);
    }
  return frame;
}

// The interpolated chroma of `frame`, every row of it.
void Interpolate(ChromaResampler &resampler, const Y4mFrame &frame, ChromaSiting siting,
                 std::vector<int16_t> &u, std::vector<int16_t> &v) {
  u.assign(static_cast<size_t>(frame.width) * frame.height, 0);
  v.assign(u.size(), 0);
  resampler.ResampleRows<int16_t>(
      frame, siting, ChromaFormat::C444, [&](int y, const int16_t *uRow, const int16_t *vRow) {
        std::copy(uRow, uRow + frame.width, &u[static_cast<size_t>(y) * frame.width]);
        std::copy(vRow, vRow + frame.width, &v[static_cast<size_t>(y) * frame.width]);
      });
}

}  // namespace

TEST(ChromaSiting, EveryTagIsInterpolatedFromWhereItsSamplesSit) {
  // The tag as ffmpeg reads it, and the siting expected of it.
  const struct {
    const char *tag;
    bool left, top;
  } cases[] = {{"C420jpeg", false, false}, {"C420", false, false}, {"", false, false},
               {"C420mpeg2", true, false}, {"C420paldv", true, true}, {"C422", true, false}};
  ChromaResampler resampler;
  for (const auto &c : cases) {
    const Y4mHeader header = ParseY4mHeader("YUV4MPEG2 W" + std::to_string(kWidth) + " H" +
                                            std::to_string(kHeight) + " " + c.tag);
    ASSERT_EQ(header.siting, (ChromaSiting{c.left, c.top})) << c.tag;
    // The ramp is stored rounded to bytes: compare with the rounded ramp's own interpolation,
    // which differs from the exact ramp by at most half a step.
    std::vector<int16_t> u, v;
    Interpolate(resampler, RampFrame(header), header.siting, u, v);
    for (int y = kMargin; y < kHeight - kMargin; ++y)
      for (int x = kMargin; x < kWidth - kMargin; ++x) {
        const double got = u[y * kWidth + x] / 64.0;
        ASSERT_NEAR(got, Ramp(x, y), 0.6) << c.tag << " at " << x << "," << y;
        ASSERT_NEAR(v[y * kWidth + x] / 64.0, 255 - got, 0.6) << c.tag;
      }
  }
}

TEST(ChromaSiting, OutputIsSubsampledWhereItsTagSaysItSits) {
  // 4:4:4 in; 4:2:2 is written C422 (left), 4:2:0 C420jpeg (centred).
  const Y4mHeader header = ParseY4mHeader("YUV4MPEG2 W36 H24 C444");
  const Y4mFrame ramp = RampFrame(header);
  ChromaResampler resampler;
  for (const ChromaFormat format : {ChromaFormat::C422, ChromaFormat::C420}) {
    Y4mFrame out;
    resampler.Convert(ramp, header.siting, format, out);
    ASSERT_EQ(out.chroma, format);
    EXPECT_EQ(out.y, ramp.y);
    const double xOffset = format == ChromaFormat::C422 ? 0 : 0.5;
    const double yOffset = format == ChromaFormat::C420 ? 0.5 : 0;
    const int rowStep = format == ChromaFormat::C420 ? 2 : 1;
    for (int i = kMargin / rowStep; i < out.ChromaHeight() - kMargin / rowStep; ++i)
      for (int j = kMargin / 2; j < out.ChromaWidth() - kMargin / 2; ++j)
        ASSERT_NEAR(out.u[i * out.ChromaWidth() + j],
                    Ramp(2 * j + xOffset, rowStep == 2 ? 2 * i + yOffset : i), 0.75)
            << static_cast<int>(format) << " at " << j << "," << i;
  }
}

TEST(ChromaSiting, EdgesAndTinyFramesKeepAnEvenColour) {
  ChromaResampler resampler;
  for (int width = 1; width <= 9; ++width)
    for (int height = 1; height <= 5; ++height)
      for (const ChromaFormat from : {ChromaFormat::C420, ChromaFormat::C422, ChromaFormat::C444})
        for (const bool cosited : {false, true}) {
          Y4mFrame flat;
          flat.Resize(width, height, from);
          std::fill(flat.u.begin(), flat.u.end(), uint8_t{201});
          std::fill(flat.v.begin(), flat.v.end(), uint8_t{17});
          std::vector<int16_t> u, v;
          Interpolate(resampler, flat, {cosited, cosited}, u, v);
          for (size_t i = 0; i < u.size(); ++i)
            ASSERT_TRUE(u[i] == 201 * 64 && v[i] == 17 * 64) << width << "x" << height;
          Y4mFrame out;
          resampler.Convert(flat, {cosited, cosited}, ChromaFormat::C420, out);
          for (size_t i = 0; i < out.u.size(); ++i)
            ASSERT_TRUE(out.u[i] == 201 && out.v[i] == 17) << width << "x" << height;
        }
}

// A 4:2:0 frame goes into a YUY2 image a row at a time, each row's chroma interpolated as it is
// packed: the same image as the whole frame made 4:2:2 and then packed.
TEST(ChromaSiting, Yuy2ImagesHoldTheChromaOfTheFrameMade422) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> byte(0, 255);
  for (const auto &[width, height] : {std::pair{2, 1}, {6, 5}, {36, 24}, {50, 17}})
    for (const bool cosited : {false, true}) {
      Y4mFrame frame;
      frame.Resize(width, height, ChromaFormat::C420);
      for (auto *plane : {&frame.y, &frame.u, &frame.v})
        for (uint8_t &b : *plane) b = static_cast<uint8_t>(byte(rng));
      const ChromaSiting siting{cosited, cosited};
      const ptrdiff_t stride = 2 * width + 6;
      std::vector<uint8_t> image(stride * height, 0xAA), expected = image;
      FrameIntoImage(true, siting).Convert(frame, image.data(), stride);
      Y4mFrame made422;
      ChromaResampler().Convert(frame, siting, ChromaFormat::C422, made422);
      Y4mToYuy2Rows(made422, expected.data(), stride, 0, height);
      EXPECT_EQ(image, expected) << width << "x" << height << (cosited ? " cosited" : "");
    }
  Y4mFrame odd;
  odd.Resize(5, 4, ChromaFormat::C420);
  std::vector<uint8_t> image(10 * 4);
  EXPECT_THROW(FrameIntoImage(true, ChromaSiting{}).Convert(odd, image.data(), 10),
               std::invalid_argument);
}

TEST(ChromaSiting, InterpolatedChromaMeetsYc48AsTheRowConversionsDo) {
  for (int value = 0; value < 256; ++value)
    ASSERT_EQ(ChromaFractionToYc48(value * 64), ChromaToYc48(static_cast<uint8_t>(value))) << value;
}

// The column pass's vector steps (eight samples with SSE2, sixteen with AVX2 where it runs)
// equal its scalar reference for every tap count the filters use (one for a kept row, six up,
// twelve down, and odd counts whose last tap has no partner), for widths around the steps and
// both outputs, on samples that overshoot the 8-bit range and weights of both signs that sum to
// one, as every filter's do.
TEST(ChromaColumns, VectorStepsEqualTheScalarReference) {
  using Fractions = void (*)(const int16_t *const *, const int16_t *, int, int, int16_t *);
  using Bytes = void (*)(const int16_t *const *, const int16_t *, int, int, uint8_t *);
  std::vector<std::tuple<const char *, Fractions, Bytes>> forms = {
      {"SSE2", &FilterColumnsSse2<int16_t>, &FilterColumnsSse2<uint8_t>}};
  if (RunsAvx2(ThisProcessor()))
    forms.emplace_back("AVX2", &FilterColumnsAvx2<int16_t>, &FilterColumnsAvx2<uint8_t>);
  constexpr int kOne = 1 << ChromaFilter::kWeightBits;
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> sample(-2000, 18000), lobe(-1500, 1500);
  for (const auto &[name, toFractions, toBytes] : forms)
    for (int taps : {1, 2, 5, 6, 12})
      for (int width : {1, 7, 8, 9, 15, 16, 17, 23, 69}) {
        std::vector<std::vector<int16_t>> rows(taps, std::vector<int16_t>(width));
        std::vector<const int16_t *> pointers;
        std::vector<int16_t> weights;
        int sum = 0;
        for (auto &row : rows) {
          for (int16_t &s : row) s = static_cast<int16_t>(sample(rng));
          pointers.push_back(row.data());
          weights.push_back(static_cast<int16_t>(kOne / taps + lobe(rng)));
          sum += weights.back();
        }
        weights[0] = static_cast<int16_t>(weights[0] + kOne - sum);
        std::vector<int16_t> fractions(width), fractionsReference(width);
        std::vector<uint8_t> bytes(width), bytesReference(width);
        toFractions(pointers.data(), weights.data(), taps, width, fractions.data());
        FilterColumnsScalar(pointers.data(), weights.data(), taps, 0, width,
                            fractionsReference.data());
        toBytes(pointers.data(), weights.data(), taps, width, bytes.data());
        FilterColumnsScalar(pointers.data(), weights.data(), taps, 0, width,
                            bytesReference.data());
        EXPECT_EQ(fractions, fractionsReference) << name << ", " << taps << " taps, width " << width;
        EXPECT_EQ(bytes, bytesReference) << name << ", " << taps << " taps, width " << width;
      }
}

// The row pass's vector forms (SSE2, and AVX2 where it runs) equal its scalar reference for
// both directions and sitings, for lengths whose last outputs' eight-sample reads would leave
// the row or whose repeating run ends inside a step of either form, on random bytes.
TEST(ChromaRows, VectorFormsEqualTheScalarReference) {
  using Row = decltype(&FilterRow);
  std::vector<std::pair<const char *, Row>> forms = {{"SSE2", &FilterRowSse2}, {"chosen", &FilterRow}};
  if (RunsAvx2(ThisProcessor())) forms.emplace_back("AVX2", &FilterRowAvx2);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> byte(0, 255);
  for (const auto &[name, row] : forms)
    for (bool up : {true, false})
      for (bool cosited : {true, false})
        for (int length : {1, 2, 3, 7, 8, 9, 16, 33, 40, 41, 75, 83, 99, 1920}) {
          const ChromaFilter filter = up ? ChromaFilter::Upsample(length, cosited)
                                         : ChromaFilter::Downsample(length, cosited);
          std::vector<uint8_t> in(filter.InLength());
          for (uint8_t &b : in) b = static_cast<uint8_t>(byte(rng));
          std::vector<int16_t> out(filter.OutLength()), reference(filter.OutLength());
          // Upsampling runs its interior a step of outputs at a time, over the run that repeats.
          if (up && length >= 40) {
            EXPECT_GE(filter.PairedEnd() - filter.PairedBegin(), length - 12) << length;
          }
          row(filter, in.data(), out.data());
          FilterRowScalar(filter, in.data(), 0, filter.OutLength(), reference.data());
          EXPECT_EQ(out, reference) << name << (up ? " up " : " down ") << length
                                    << (cosited ? " cosited" : "");
        }
}
