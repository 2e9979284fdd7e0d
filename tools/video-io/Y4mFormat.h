// YUV4MPEG2 (Y4M) stream description and 8-bit planar frames, shared by the reader, the
// writer, the colour conversion and the built-in clip.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorlin_resizer {

enum class ChromaFormat { C444, C422, C420 };

// Malformed or truncated Y4M input; the message is one line for the user.
class Y4mError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where subsampled chroma samples sit: on the first luma column (row) of the two they cover, or
// centred between them.
struct ChromaSiting {
  bool left = false;
  bool top = false;
  bool operator==(const ChromaSiting &other) const {
    return left == other.left && top == other.top;
  }
};

struct Y4mHeader {
  int width = 0;
  int height = 0;
  ChromaFormat chroma = ChromaFormat::C420;
  ChromaSiting siting;  // what the C tag says (4:2:2 is written and read left-sited)
  // Passed through unchanged from input to output (the tag's value, without the letter).
  std::string frameRate = "30:1";
  std::string interlace = "p";
  std::string aspect = "1:1";
};

// Largest frame side accepted; keeps every plane size far inside 32-bit arithmetic.
constexpr int kMaxY4mSide = 16384;

int ChromaWidth(ChromaFormat chroma, int width);
int ChromaHeight(ChromaFormat chroma, int height);
// Bytes of one frame's three planes (without its FRAME line).
long long Y4mFrameBytes(const Y4mHeader &header);

// One frame: a Y plane of width x height and U, V planes of the chroma size, rows packed.
struct Y4mFrame {
  int width = 0;
  int height = 0;
  ChromaFormat chroma = ChromaFormat::C444;
  std::vector<uint8_t> y, u, v;

  // Sizes the planes for the format; sample values are left as they are.
  void Resize(int frameWidth, int frameHeight, ChromaFormat format);
  int ChromaWidth() const { return quorlin_resizer::ChromaWidth(chroma, width); }
  int ChromaHeight() const { return quorlin_resizer::ChromaHeight(chroma, height); }
};

}  // namespace quorlin_resizer
