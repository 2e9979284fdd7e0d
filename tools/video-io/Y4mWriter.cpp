#include "video-io/Y4mWriter.h"

namespace quorlin_resizer {

namespace {

const char *ChromaTag(ChromaFormat chroma) {
  switch (chroma) {
    case ChromaFormat::C444: return "444";
    case ChromaFormat::C422: return "422";
    case ChromaFormat::C420: return "420jpeg";
  }
  return "420jpeg";
}

void WritePlane(std::ostream &out, const std::vector<uint8_t> &plane) {
  out.write(reinterpret_cast<const char *>(plane.data()),
            static_cast<std::streamsize>(plane.size()));
}

}  // namespace

std::string FormatY4mHeader(const Y4mHeader &header) {
  return "YUV4MPEG2 W" + std::to_string(header.width) + " H" + std::to_string(header.height) +
         " F" + header.frameRate + " I" + header.interlace + " A" + header.aspect + " C" +
         ChromaTag(header.chroma) + "\n";
}

bool IsInterlaced(const Y4mHeader &header) {
  return header.interlace == "t" || header.interlace == "b" || header.interlace == "m";
}

Y4mWriter::Y4mWriter(std::ostream &out, const Y4mHeader &header) : out_(out), header_(header) {
  out_ << FormatY4mHeader(header_);
  if (!out_) throw std::runtime_error("cannot write the Y4M output");
}

void Y4mWriter::WriteFrame(const Y4mFrame &frame) {
  if (frame.width != header_.width || frame.height != header_.height ||
      frame.chroma != header_.chroma)
    throw std::invalid_argument("frame does not match the Y4M stream's size or format");
  out_ << "FRAME\n";
  WritePlane(out_, frame.y);
  WritePlane(out_, frame.u);
  WritePlane(out_, frame.v);
  if (!out_) throw std::runtime_error("cannot write the Y4M output");
}

}  // namespace quorlin_resizer
