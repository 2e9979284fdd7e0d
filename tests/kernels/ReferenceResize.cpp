#include "kernels/ReferenceResize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

constexpr int kLuma = 0, kChroma = 1;

// Fraction bits of the YUY2 rows between the two passes of the combined pass: 16-bit samples
// in units of 1/64.
constexpr int kYUY2BetweenFractionBits = 6;
constexpr int kCoeffFractionBits = 14;

// The sum over one coefficient set of a block whose first position is `firstPos`, along an axis
// of `srcLen` samples, rounded and descaled by 2^descaleBits on the 32-bit wrapped sum. A
// position at or past srcLen must carry a coefficient 0 and is not read.
int32_t Evaluate(const int16_t *coeffs, int pairCoeffs, int set, int32_t firstPos, int32_t srcLen,
                 const std::function<int32_t(int32_t)> &sampleAt,
                 int descaleBits = kCoeffFractionBits) {
  const int32_t pairCount = reinterpret_cast<const int32_t *>(coeffs)[-1];
  const int setOffset = pairCoeffs == 4 ? 2 * set : 0;
  int64_t sum = 0;
  for (int32_t slot = 0; slot < 2 * pairCount; ++slot) {
    const int32_t coeff = coeffs[(slot / 2) * pairCoeffs + setOffset + slot % 2];
    const int32_t pos = firstPos + slot;
    if (pos >= srcLen) {
      EXPECT_EQ(coeff, 0) << "coefficient for position " << pos << " past the axis";
      continue;
    }
    sum += static_cast<int64_t>(coeff) * sampleAt(pos);
  }
  const int64_t bias = int64_t{1} << (descaleBits - 1);
  const int32_t wrapped = static_cast<int32_t>(static_cast<uint32_t>(sum + bias));
  return static_cast<int32_t>(std::floor(wrapped / std::ldexp(1.0, descaleBits)));
}

int32_t Clamp(FrameFormat format, int32_t v) {
  const int32_t lo = format == FrameFormat::YC48 ? -32768 : 0;
  const int32_t hi = format == FrameFormat::YC48 ? 32767 : 255;
  return v < lo ? lo : v > hi ? hi : v;
}

// Sample `channel` of pixel x, line y. YC48 channels: Y, Cb, Cr. YUY2 channels: the pixel's
// luma byte and its chroma byte (U for even, V for odd pixels).
int32_t Sample(const Frame &f, int32_t x, int32_t y, int channel) {
  const uint8_t *p = f.bytes.data() + static_cast<size_t>(y) * f.lineSize;
  if (f.format == FrameFormat::YUY2) return p[2 * x + channel];
  int16_t v;
  std::memcpy(&v, p + 6 * x + 2 * channel, 2);
  return v;
}

void Store(Frame &f, int32_t x, int32_t y, int channel, int32_t v) {
  uint8_t *p = f.bytes.data() + static_cast<size_t>(y) * f.lineSize;
  v = Clamp(f.format, v);
  if (f.format == FrameFormat::YUY2) {
    p[2 * x + channel] = static_cast<uint8_t>(v);
  } else {
    const int16_t s = static_cast<int16_t>(v);
    std::memcpy(p + 6 * x + 2 * channel, &s, 2);
  }
}

int Channels(FrameFormat format) { return format == FrameFormat::YC48 ? 3 : 2; }

Frame Blank(const Frame &like, int32_t width, int32_t height) {
  return Frame{like.format, width, height, like.lineSize,
               std::vector<uint8_t>(static_cast<size_t>(like.lineSize) * height, 0)};
}

// Sample `channel` of pixel x of the line a YUY2 row is filtered from.
using LineSamples = std::function<int32_t(int32_t x, int channel)>;

// Output line y of a YUY2 horizontal pass from the `srcWidth` pixels of `line`, whose sums are
// descaled by 2^descaleBits. YUY2 chroma sample c of one plane (0 = U, 1 = V) is the chroma
// sample of pixel 2c + plane.
void ReferenceYUY2Row(const LineSamples &line, int32_t srcWidth, const WeightTable &table,
                      int32_t hStep, int descaleBits, int32_t y, Frame &out) {
  const WeightEntry *e = table.Entries;
  auto luma = [&](int32_t pos) { return line(pos, kLuma); };
  for (int32_t x = 0; x < out.width; ++x) {
    const WeightEntry &lumaEntry = e[3 * (x / 2) + x % 2];
    const int32_t firstPos = 2 * (lumaEntry.Offset / hStep);
    Store(out, x, y, kLuma,
          Evaluate(lumaEntry.Coeffs, 2, kLuma, firstPos, srcWidth, luma, descaleBits));
    if (x / 2 == out.width / 2) {  // odd width: the last column has no chroma entry
      Store(out, x, y, kChroma, 128);
      continue;
    }
    const WeightEntry &chromaEntry = e[3 * (x / 2) + 2];
    const int plane = x % 2;
    auto chroma = [&](int32_t c) { return line(2 * c + plane, kChroma); };
    Store(out, x, y, kChroma,
          Evaluate(chromaEntry.Coeffs, 2, kChroma, chromaEntry.Offset / hStep, srcWidth / 2,
                   chroma, descaleBits));
  }
}

// The YUY2 combined pass: every sample filtered vertically into a 16-bit row sample with
// kYUY2BetweenFractionBits, saturated, then the rows horizontally, rounded and clamped once.
Frame ReferenceYUY2Combined(const Frame &src, const WeightTable &vTable, int32_t vStep,
                            const WeightTable &hTable, int32_t hStep, int32_t dstWidth,
                            int32_t dstHeight) {
  Frame out = Blank(src, dstWidth, dstHeight);
  std::vector<int32_t> between(static_cast<size_t>(src.width) * 2);
  for (int32_t y = 0; y < dstHeight; ++y) {
    const WeightEntry &entry = vTable.Entries[y];
    for (int32_t x = 0; x < src.width; ++x)
      for (int ch = 0; ch < 2; ++ch) {
        auto sample = [&](int32_t line) { return Sample(src, x, line, ch); };
        const int32_t v = Evaluate(entry.Coeffs, 4, ch, 2 * (entry.Offset / vStep), src.height,
                                   sample, kCoeffFractionBits - kYUY2BetweenFractionBits);
        between[2 * x + ch] = std::clamp(v, -32768, 32767);
      }
    ReferenceYUY2Row([&](int32_t x, int ch) { return between[2 * x + ch]; }, src.width, hTable,
                     hStep, kCoeffFractionBits + kYUY2BetweenFractionBits, y, out);
  }
  return out;
}

}  // namespace

int32_t BytesPerPixel(FrameFormat format) { return format == FrameFormat::YC48 ? 6 : 2; }

Frame ReferenceHorizontal(const Frame &src, const WeightTable &table, int32_t hStep,
                          int pairCoeffs, int32_t dstWidth) {
  Frame out = Blank(src, dstWidth, src.height);
  for (int32_t y = 0; y < src.height; ++y) {
    if (src.format == FrameFormat::YUY2) {
      ReferenceYUY2Row([&](int32_t x, int ch) { return Sample(src, x, y, ch); }, src.width, table,
                       hStep, kCoeffFractionBits, y, out);
      continue;
    }
    for (int32_t x = 0; x < dstWidth; ++x)
      for (int ch = 0; ch < 3; ++ch) {
        const WeightEntry &entry = table.Entries[x];
        auto sample = [&](int32_t pos) { return Sample(src, pos, y, ch); };
        Store(out, x, y, ch,
              Evaluate(entry.Coeffs, pairCoeffs, ch == 0 ? kLuma : kChroma,
                       2 * (entry.Offset / hStep), src.width, sample));
      }
  }
  return out;
}

Frame ReferenceVertical(const Frame &src, const WeightTable &table, int32_t vStep,
                        int pairCoeffs, int32_t dstHeight) {
  Frame out = Blank(src, src.width, dstHeight);
  for (int32_t y = 0; y < dstHeight; ++y) {
    const WeightEntry &entry = table.Entries[y];
    for (int32_t x = 0; x < src.width; ++x)
      for (int ch = 0; ch < Channels(src.format); ++ch) {
        auto sample = [&](int32_t line) { return Sample(src, x, line, ch); };
        Store(out, x, y, ch,
              Evaluate(entry.Coeffs, pairCoeffs, ch == 0 ? kLuma : kChroma,
                       2 * (entry.Offset / vStep), src.height, sample));
      }
  }
  return out;
}

Frame ReferenceCombined(const Frame &src, const WeightTable &vTable, int32_t vStep,
                        const WeightTable &hTable, int32_t hStep, int pairCoeffs,
                        int32_t dstWidth, int32_t dstHeight) {
  if (src.format == FrameFormat::YUY2)
    return ReferenceYUY2Combined(src, vTable, vStep, hTable, hStep, dstWidth, dstHeight);
  const Frame between = ReferenceVertical(src, vTable, vStep, pairCoeffs, dstHeight);
  return ReferenceHorizontal(between, hTable, hStep, pairCoeffs, dstWidth);
}
