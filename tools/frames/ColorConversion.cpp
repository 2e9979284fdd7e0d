#include "frames/ColorConversion.h"

#include <stdexcept>

#include "frames/FastestRows.h"
#include "frames/Yuy2Rows.h"

namespace quorlin_resizer {

namespace {

// The chroma row and horizontal step of row y: 4:4:4 takes every sample, the subsampled
// formats one per pixel pair, 4:2:0 one row per two.
int ChromaRow(ChromaFormat chroma, int y) { return chroma == ChromaFormat::C420 ? y / 2 : y; }

}  // namespace

void RequireEvenWidth(int width) {
  if (width % 2 != 0)
    throw std::invalid_argument("YUY2 frames need an even width, not " + std::to_string(width));
}

void Y4mToYc48Rows(const Y4mFrame &frame, uint8_t *pixels, ptrdiff_t strideBytes, int firstRow,
                   int endRow) {
  const int chromaWidth = frame.ChromaWidth();
  for (int y = firstRow; y < endRow; ++y) {
    const size_t chromaOffset = static_cast<size_t>(ChromaRow(frame.chroma, y)) * chromaWidth;
    const uint8_t *luma = &frame.y[static_cast<size_t>(y) * frame.width];
    ToYc48Row(luma, &frame.u[chromaOffset], &frame.v[chromaOffset], frame.width,
              frame.chroma != ChromaFormat::C444,
              reinterpret_cast<PIXEL_YC *>(pixels + strideBytes * y));
  }
}

void Yc48ToY4mRows(const uint8_t *pixels, ptrdiff_t strideBytes, Y4mFrame &frame, int firstRow,
                   int endRow) {
  for (int y = firstRow; y < endRow; ++y) {
    const size_t offset = static_cast<size_t>(y) * frame.width;
    FromYc48Row(reinterpret_cast<const PIXEL_YC *>(pixels + strideBytes * y), frame.width,
                &frame.y[offset], &frame.u[offset], &frame.v[offset]);
  }
}

void Y4mToYuy2Rows(const Y4mFrame &frame, uint8_t *packed, ptrdiff_t strideBytes, int firstRow,
                   int endRow) {
  RequireEvenWidth(frame.width);
  const int chromaWidth = frame.ChromaWidth();
  for (int y = firstRow; y < endRow; ++y) {
    const size_t chromaOffset = static_cast<size_t>(ChromaRow(frame.chroma, y)) * chromaWidth;
    const uint8_t *luma = &frame.y[static_cast<size_t>(y) * frame.width];
    const uint8_t *u = &frame.u[chromaOffset], *v = &frame.v[chromaOffset];
    uint8_t *out = packed + strideBytes * y;
    if (frame.chroma != ChromaFormat::C444) {
      PackYuy2Row(luma, u, v, frame.width / 2, out);
      continue;
    }
    for (int pair = 0; pair < frame.width / 2; ++pair) {  // the pair's two samples, averaged
      out[4 * pair] = luma[2 * pair];
      out[4 * pair + 1] = static_cast<uint8_t>((u[2 * pair] + u[2 * pair + 1] + 1) / 2);
      out[4 * pair + 2] = luma[2 * pair + 1];
      out[4 * pair + 3] = static_cast<uint8_t>((v[2 * pair] + v[2 * pair + 1] + 1) / 2);
    }
  }
}

void Yuy2ToY4mRows(const uint8_t *packed, ptrdiff_t strideBytes, Y4mFrame &frame, int firstRow,
                   int endRow) {
  RequireEvenWidth(frame.width);
  const int chromaWidth = frame.ChromaWidth();
  for (int y = firstRow; y < endRow; ++y) {
    UnpackYuy2Row(packed + strideBytes * y, chromaWidth,
                  &frame.y[static_cast<size_t>(y) * frame.width],
                  &frame.u[static_cast<size_t>(y) * chromaWidth],
                  &frame.v[static_cast<size_t>(y) * chromaWidth]);
  }
}

void Y4mToYc48(const Y4mFrame &frame, std::vector<PIXEL_YC> &pixels) {
  pixels.resize(static_cast<size_t>(frame.width) * frame.height);
  Y4mToYc48Rows(frame, reinterpret_cast<uint8_t *>(pixels.data()),
                frame.width * static_cast<ptrdiff_t>(sizeof(PIXEL_YC)), 0, frame.height);
}

void Yc48ToY4m(const uint8_t *pixels, int width, int height, ptrdiff_t strideBytes,
               Y4mFrame &frame) {
  frame.Resize(width, height, ChromaFormat::C444);
  Yc48ToY4mRows(pixels, strideBytes, frame, 0, height);
}

void Y4mToYuy2(const Y4mFrame &frame, std::vector<uint8_t> &packed) {
  RequireEvenWidth(frame.width);
  packed.resize(static_cast<size_t>(frame.width) * 2 * frame.height);
  Y4mToYuy2Rows(frame, packed.data(), frame.width * 2, 0, frame.height);
}

void Yuy2ToY4m(const uint8_t *packed, int width, int height, ptrdiff_t strideBytes,
               Y4mFrame &frame) {
  RequireEvenWidth(width);
  frame.Resize(width, height, ChromaFormat::C422);
  Yuy2ToY4mRows(packed, strideBytes, frame, 0, height);
}

}  // namespace quorlin_resizer
