#include "resizer/TestClip.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace quorlin_resizer {

namespace {

constexpr uint8_t kBlack = 16;
constexpr uint8_t kWhite = 235;
constexpr uint8_t kNeutral = 128;
constexpr int kGlyphWidth = 6;   // text-like strokes: glyph cells of 6 x 10 pixels
constexpr int kGlyphHeight = 10;
constexpr int kMinSide = 64;
constexpr double kPi = 3.14159265358979323846;

// A fixed pseudo-random 32-bit mix, so the clip is identical on every run.
uint32_t Hash(uint32_t value) {
  value ^= value >> 16;
  value *= 0x7feb352dU;
  value ^= value >> 15;
  value *= 0x846ca68bU;
  value ^= value >> 16;
  return value;
}

// 8-bit sine with amplitude 100 around mid grey, indexed by phase in 1/1024 turns.
uint8_t SineLuma(uint32_t phase) {
  static const auto *table = [] {
    static uint8_t values[1024];
    for (int i = 0; i < 1024; ++i)
      values[i] = static_cast<uint8_t>(std::lround(125.5 + 100.0 * std::sin(i * kPi / 512.0)));
    return values;
  }();
  return table[phase & 1023];
}

}  // namespace

TestClip::TestClip(int width, int height, int frameCount)
    : width_(width),
      height_(height),
      frameCount_(frameCount),
      splitX_(width / 2),
      splitY_(height * 2 / 3),
      textY_(height / 3) {
  if (width < kMinSide || height < kMinSide || frameCount < 1)
    throw std::invalid_argument("the built-in clip needs at least 64x64 pixels and one frame");
}

Y4mHeader TestClip::Header() const {
  Y4mHeader header;
  header.width = width_;
  header.height = height_;
  header.chroma = ChromaFormat::C444;
  header.frameRate = "30:1";
  return header;
}

void TestClip::Render(int index, Y4mFrame &frame) const {
  frame.Resize(width_, height_, ChromaFormat::C444);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const size_t i = static_cast<size_t>(y) * width_ + x;
      uint8_t luma, u = kNeutral, v = kNeutral;
      if (y >= splitY_)
        Gradients(x, y, index, luma, u, v);
      else if (x < splitX_)
        luma = ZonePlate(x, y, index);
      else if (y < textY_)
        luma = EdgesAndLines(x, y, index);
      else
        luma = TextStrokes(x, y, index);
      frame.y[i] = luma;
      frame.u[i] = u;
      frame.v[i] = v;
    }
  }
}

// Phase grows with the squared distance from the centre, so the ring frequency rises linearly
// outward and reaches half a turn per pixel (the finest representable) at the region's edge.
uint8_t TestClip::ZonePlate(int x, int y, int index) const {
  const int64_t dx = x - splitX_ / 2 - index;
  const int64_t dy = y - splitY_ / 2;
  const int64_t radius = splitX_ / 2;
  const int64_t phase = (dx * dx + dy * dy) * 512 / (2 * radius);
  return SineLuma(static_cast<uint32_t>(phase + index * 37));
}

// Vertical and horizontal one-pixel lines at growing spacing, then a checkerboard of 16-pixel
// squares moving one pixel right per frame: hard edges in both directions.
uint8_t TestClip::EdgesAndLines(int x, int y, int index) const {
  const int localX = x - splitX_;
  const int bandHeight = textY_ / 2;
  if (y < bandHeight) {
    const int period = 2 + localX / 64;  // 2, 3, 4, ... pixels between lines
    return (localX % period == 0) != (y >= bandHeight / 2 && y % 4 == 0) ? kWhite : kBlack;
  }
  const int cx = (localX + index) / 16;
  const int cy = y / 16;
  return (cx + cy) % 2 == 0 ? kWhite : kBlack;
}

// Rows of glyph cells, each lit in a pseudo-random pattern of one-pixel strokes, scrolling left
// two pixels per frame: dense small detail like lines of text.
uint8_t TestClip::TextStrokes(int x, int y, int index) const {
  const int localX = x - splitX_ + 2 * index;
  const int localY = y - textY_;
  const int column = localX / kGlyphWidth, row = localY / kGlyphHeight;
  const int gx = localX % kGlyphWidth, gy = localY % kGlyphHeight;
  if (gx == kGlyphWidth - 1 || gy >= kGlyphHeight - 2) return kWhite;  // spacing
  const uint32_t glyph = Hash(static_cast<uint32_t>(row * 131 + column % 96));
  const bool stroke = gy % 2 == 0 ? ((glyph >> gx) & 1) != 0 : ((glyph >> (8 + gy)) & 1) != 0;
  return stroke ? kBlack : kWhite;
}

// A luma ramp over the full width in the upper half; colour ramps below (U across, V down);
// a saturated colour bar of 40 pixels slides across both.
void TestClip::Gradients(int x, int y, int index, uint8_t &luma, uint8_t &u, uint8_t &v) const {
  const int localY = y - splitY_;
  const int bandHeight = height_ - splitY_;
  const int barX = (index * 24) % width_;
  if (x >= barX && x < barX + 40) {
    luma = 82;
    u = 90;
    v = 240;
    return;
  }
  luma = static_cast<uint8_t>(kBlack + (kWhite - kBlack) * x / (width_ - 1));
  if (localY < bandHeight / 2) return;
  u = static_cast<uint8_t>(16 + 224 * x / width_);
  v = static_cast<uint8_t>(16 + 224 * (localY - bandHeight / 2) / (bandHeight - bandHeight / 2));
}

}  // namespace quorlin_resizer
