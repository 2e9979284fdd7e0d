#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

int ChromaWidth(ChromaFormat chroma, int width) {
  return chroma == ChromaFormat::C444 ? width : (width + 1) / 2;
}

int ChromaHeight(ChromaFormat chroma, int height) {
  return chroma == ChromaFormat::C420 ? (height + 1) / 2 : height;
}

long long Y4mFrameBytes(const Y4mHeader &header) {
  const long long chroma = static_cast<long long>(ChromaWidth(header.chroma, header.width)) *
                           ChromaHeight(header.chroma, header.height);
  return static_cast<long long>(header.width) * header.height + 2 * chroma;
}

void Y4mFrame::Resize(int frameWidth, int frameHeight, ChromaFormat format) {
  width = frameWidth;
  height = frameHeight;
  chroma = format;
  y.resize(static_cast<size_t>(width) * height);
  const size_t chromaSamples = static_cast<size_t>(ChromaWidth()) * ChromaHeight();
  u.resize(chromaSamples);
  v.resize(chromaSamples);
}

}  // namespace quorlin_resizer
