#include "ColorConversion.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quorlin_host {

namespace {

// numerator / denominator rounded to nearest, halves upward; denominator > 0.
int RoundedDivide(int numerator, int denominator) {
  const int twice = 2 * numerator + denominator;
  const int quotient = twice / (2 * denominator);
  return twice % (2 * denominator) < 0 ? quotient - 1 : quotient;  // floor for negatives
}

uint8_t ClampToByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// Chroma sample of `plane` covering pixel (x, y).
uint8_t ChromaAt(const Y4mFrame &frame, const std::vector<uint8_t> &plane, int x, int y) {
  const int cx = frame.chroma == ChromaFormat::C444 ? x : x / 2;
  const int cy = frame.chroma == ChromaFormat::C420 ? y / 2 : y;
  return plane[static_cast<size_t>(cy) * frame.ChromaWidth() + cx];
}

// Chroma of the pixel pair starting at even x, for 4:2:2 output.
uint8_t PairChroma(const Y4mFrame &frame, const std::vector<uint8_t> &plane, int x, int y) {
  if (frame.chroma != ChromaFormat::C444) return ChromaAt(frame, plane, x, y);
  return static_cast<uint8_t>(
      (ChromaAt(frame, plane, x, y) + ChromaAt(frame, plane, x + 1, y) + 1) / 2);
}

void RequireEvenWidth(int width) {
  if (width % 2 != 0)
    throw std::invalid_argument("YUY2 frames need an even width, not " + std::to_string(width));
}

}  // namespace

int16_t LumaToYc48(uint8_t luma) {
  return static_cast<int16_t>(RoundedDivide((luma - 16) * 4096, 219));
}

int16_t ChromaToYc48(uint8_t chroma) {
  return static_cast<int16_t>(RoundedDivide((chroma - 128) * 4096, 224));
}

uint8_t Yc48ToLuma(int y) { return ClampToByte(16 + RoundedDivide(y * 219, 4096)); }

uint8_t Yc48ToChroma(int c) { return ClampToByte(128 + RoundedDivide(c * 224, 4096)); }

void Y4mToYc48(const Y4mFrame &frame, std::vector<PIXEL_YC> &pixels) {
  pixels.resize(static_cast<size_t>(frame.width) * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const size_t i = static_cast<size_t>(y) * frame.width + x;
      pixels[i].y = LumaToYc48(frame.y[i]);
      pixels[i].cb = ChromaToYc48(ChromaAt(frame, frame.u, x, y));
      pixels[i].cr = ChromaToYc48(ChromaAt(frame, frame.v, x, y));
    }
  }
}

void Yc48ToY4m(const uint8_t *pixels, int width, int height, ptrdiff_t strideBytes,
               Y4mFrame &frame) {
  frame.Resize(width, height, ChromaFormat::C444);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      PIXEL_YC pixel;
      std::memcpy(&pixel, pixels + strideBytes * y + sizeof(PIXEL_YC) * x, sizeof(pixel));
      const size_t i = static_cast<size_t>(y) * width + x;
      frame.y[i] = Yc48ToLuma(pixel.y);
      frame.u[i] = Yc48ToChroma(pixel.cb);
      frame.v[i] = Yc48ToChroma(pixel.cr);
    }
  }
}

void Y4mToYuy2(const Y4mFrame &frame, std::vector<uint8_t> &packed) {
  RequireEvenWidth(frame.width);
  const size_t rowBytes = static_cast<size_t>(frame.width) * 2;
  packed.resize(rowBytes * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    uint8_t *row = &packed[rowBytes * y];
    const uint8_t *luma = &frame.y[static_cast<size_t>(y) * frame.width];
    for (int x = 0; x < frame.width; x += 2) {
      uint8_t *pair = row + 2 * x;
      pair[0] = luma[x];
      pair[1] = PairChroma(frame, frame.u, x, y);
      pair[2] = luma[x + 1];
      pair[3] = PairChroma(frame, frame.v, x, y);
    }
  }
}

void Yuy2ToY4m(const uint8_t *packed, int width, int height, ptrdiff_t strideBytes,
               Y4mFrame &frame) {
  RequireEvenWidth(width);
  frame.Resize(width, height, ChromaFormat::C422);
  const int chromaWidth = frame.ChromaWidth();
  for (int y = 0; y < height; ++y) {
    const uint8_t *row = packed + strideBytes * y;
    for (int x = 0; x < width; ++x) frame.y[static_cast<size_t>(y) * width + x] = row[2 * x];
    for (int cx = 0; cx < chromaWidth; ++cx) {
      frame.u[static_cast<size_t>(y) * chromaWidth + cx] = row[4 * cx + 1];
      frame.v[static_cast<size_t>(y) * chromaWidth + cx] = row[4 * cx + 3];
    }
  }
}

}  // namespace quorlin_host
