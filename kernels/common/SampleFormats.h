// The two frame formats as the kernels see them: samples per pixel, which coefficient set each
// sample takes, the range an output sample is clamped to, and the rows the combined pass keeps
// between its vertical and its horizontal half.
#pragma once

#include <cstdint>
#include <type_traits>

namespace kernels {

// Coefficient sets of a separate-weights block.
constexpr int kLumaSet = 0;
constexpr int kChromaSet = 1;

// YC48: Y, Cb, Cr as signed 16-bit samples, 6 bytes per pixel.
struct YC48Format {
  using Sample = int16_t;
  // The samples of the combined pass's plain rows, which its vertical filter writes and its
  // tile filter reads: rounded and clamped like output samples.
  using Intermediate = int16_t;
  static constexpr int kIntermediateFractionBits = 0;
  static constexpr int kSamplesPerPixel = 3;
  static constexpr int kSampleSet[kSamplesPerPixel] = {kLumaSet, kChromaSet, kChromaSet};
  static Sample Clamp(int32_t v) {
    return static_cast<Sample>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
  }
};

// Packed YUY2: bytes Y0 U Y1 V, so every pixel is a luma byte followed by a chroma byte.
struct YUY2Format {
  using Sample = uint8_t;
  static constexpr int kSamplesPerPixel = 2;
  static constexpr int kSampleSet[kSamplesPerPixel] = {kLumaSet, kChromaSet};
  static Sample Clamp(int32_t v) { return static_cast<Sample>(v < 0 ? 0 : v > 255 ? 255 : v); }
  // Written where an output pixel has no chroma of its own (the last column of an odd width).
  static constexpr Sample kNeutralChroma = 128;
  // The combined pass's plain rows: signed 16-bit samples in units of 1/64, -512 to 511.98.
  // Rounding and clamping them to bytes would cut the overshoot of a sharp edge before the
  // horizontal half could bring it back, and add a second rounding. Six fraction bits leave
  // room for every coefficient set the window functions give: their positive coefficients sum
  // to at most 1.59 (Bicubic at sharpness 200; Lanczos 8: 1.58), their negative ones to at most
  // -0.59, so a row sample lies within -151 .. 406. Seven bits would stop at 256.
  using Intermediate = int16_t;
  static constexpr int kIntermediateFractionBits = 6;
};

// Fraction bits of a row of T samples of the format: the frame's samples have none, the plain
// rows kIntermediateFractionBits (YC48: both are the frame's samples, with none).
template <class Format, typename T>
constexpr int kFractionBitsOf =
    std::is_same<T, typename Format::Sample>::value ? 0 : Format::kIntermediateFractionBits;

// v as a T sample of the format's rows: the frame's samples are clamped to the format's range,
// the plain rows saturate at 16 bits.
template <class Format, typename T>
T ClampTo(int32_t v) {
  if constexpr (std::is_same<T, typename Format::Sample>::value)
    return Format::Clamp(v);
  else
    return static_cast<T>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

// Where a block keeps its coefficients: PairCoeffs per source pair, 2 for shared weights (one
// set) and 4 for separate weights (luma pair, then chroma pair).
template <int PairCoeffs>
struct CoeffLayout {
  static_assert(PairCoeffs == 2 || PairCoeffs == 4, "shared or separate weights");
  static constexpr int kPairCoeffs = PairCoeffs;
  // Offset of a set's first coefficient within a pair.
  static constexpr int SetOffset(int set) { return PairCoeffs == 4 ? 2 * set : 0; }
};

using SharedWeights = CoeffLayout<2>;
using SeparateWeights = CoeffLayout<4>;

// Pixels a row buffer holds: the source row plus room for the pixel pair one past it, which a
// padding coefficient may address (a luma position or a YUY2 chroma sample at the frame's end).
inline int32_t RowCapacityPixels(int32_t srcWidth) { return 2 * (srcWidth / 2 + 1); }

// The source pixels of a row that a pass reads, kept inside a padded row: [Begin, ReadEnd) lie
// in the frame, [ReadEnd, End) past its right edge and read as zeros.
struct TileColumns {
  int32_t Begin, ReadEnd, End;
};

}  // namespace kernels
