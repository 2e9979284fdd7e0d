// The RGBA frame format as the RGBA kernels see it: 8-bit samples, straight alpha, four to a pixel;
// resampled as premultiplied float samples. The scalar steps at either end of a resize
// (premultiplying a source row, finishing an output row) are defined here once, for every
// instruction set: a float sum computed in the same order gives the same bits everywhere.
#pragma once

#include <cstdint>

namespace kernels {

struct RgbaFormat {
  using Sample = uint8_t;
  // Premultiplied samples: colour x alpha and alpha, whole numbers below 2^24 and so exact in a
  // float; the filters' sums stay floats until the output is finished.
  using Intermediate = float;
  static constexpr int kSamplesPerPixel = 4;
  static constexpr int kAlpha = 3;
};

// A row of straight-alpha pixels as premultiplied floats, a pixel every `pixelFloats` floats:
// colour x alpha, alpha. `decode`, when given, first turns each colour byte into its 16-bit linear
// value.
inline void PremultiplyRow(const uint8_t *src, int32_t width, const uint16_t *decode, float *out,
                           int32_t pixelFloats) {
  for (int32_t x = 0; x < width; ++x, src += 4, out += pixelFloats) {
    const int32_t alpha = src[3];
    for (int c = 0; c < 3; ++c) {
      const int32_t colour = decode ? decode[src[c]] : src[c];
      out[c] = static_cast<float>(colour * alpha);
    }
    out[3] = static_cast<float>(alpha);
  }
}

// v clamped to 0 .. 255 and rounded half up.
inline int32_t RoundToByte(float v) {
  v = v < 0.0f ? 0.0f : v > 255.0f ? 255.0f : v;
  return static_cast<int32_t>(v + 0.5f);
}

// The byte whose interval holds the 16-bit linear value v: thresholds[k] (k = 1 .. 255) is the
// linear value halfway between bytes k - 1 and k, so the result is rounded to nearest in the byte's
// own (sRGB) scale, once.
inline int32_t EncodeByte(float v, const float *thresholds) {
  int32_t byte = 0;
  for (int32_t step = 128; step > 0; step /= 2) {
    if (v >= thresholds[byte + step]) byte += step;
  }
  return byte;
}

// Output pixels from premultiplied sums: alpha rounded, colour divided back by the unrounded alpha
// and rounded (or, with `thresholds`, encoded from linear light). A pixel whose alpha rounds to 0
// is transparent black. The division is a multiply by the alpha's reciprocal: one division a
// pixel, which the vector kernels make for several pixels at once.
inline void FinishRow(const float *sums, int32_t width, const float *thresholds, uint8_t *out) {
  for (int32_t x = 0; x < width; ++x, sums += 4, out += 4) {
    const float alpha = sums[3];
    const int32_t a = RoundToByte(alpha);
    const float inverse = 1.0f / alpha;
    for (int c = 0; c < 3; ++c) {
      const float colour = sums[c] * inverse;
      out[c] = static_cast<uint8_t>(a == 0       ? 0
                                    : thresholds ? EncodeByte(colour, thresholds)
                                                 : RoundToByte(colour));
    }
    out[3] = static_cast<uint8_t>(a);
  }
}

}  // namespace kernels
