// Writes a Y4M stream: the header line when constructed, then one FRAME per WriteFrame.
#pragma once

#include <ostream>

#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

class Y4mWriter {
 public:
  // Writes the header; `header.chroma` must be what the frames will carry.
  Y4mWriter(std::ostream &out, const Y4mHeader &header);

  // Throws std::invalid_argument when the frame does not match the header, std::runtime_error
  // when the stream fails (disk full, closed pipe).
  void WriteFrame(const Y4mFrame &frame);
  const Y4mHeader &Header() const { return header_; }

 private:
  std::ostream &out_;
  Y4mHeader header_;
};

std::string FormatY4mHeader(const Y4mHeader &header);

// Whether the input is marked as interlaced: top or bottom field first, or mixed.
bool IsInterlaced(const Y4mHeader &header);

}  // namespace quorlin_resizer
