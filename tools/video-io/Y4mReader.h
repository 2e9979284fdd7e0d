// Reads a Y4M stream: the header line, then FRAME lines each followed by the three planes.
// Accepts 8-bit 4:4:4, 4:2:2 and 4:2:0 (C444, C422, C420, C420jpeg, C420paldv, C420mpeg2; no
// C tag means 4:2:0), in studio range. The siting is read as ffmpeg reads it: C420jpeg, C420
// and no tag centred, C420mpeg2 left and vertically centred, C420paldv top left, C422 left.
// Other formats and full range (XCOLORRANGE=FULL) are refused with the ffmpeg command that
// converts them.
#pragma once

#include <istream>

#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

class Y4mReader {
 public:
  // Reads and checks the header; throws Y4mError when the stream is not usable Y4M.
  explicit Y4mReader(std::istream &in);

  const Y4mHeader &Header() const { return header_; }
  // Reads the next frame into `frame`. Returns false at the end of the stream: after the last
  // frame, or where the stream ends inside a frame (CutFrame()), as ffmpeg takes a cut file:
  // the complete frames before it count. Throws Y4mError on a bad FRAME line.
  bool ReadFrame(Y4mFrame &frame);
  int FramesRead() const { return framesRead_; }
  // The frame, counted from 1, inside which the stream ended; 0 when it ended after a frame.
  int CutFrame() const { return cutFrame_; }

 private:
  std::istream &in_;
  Y4mHeader header_;
  int framesRead_ = 0;
  int cutFrame_ = 0;
};

// Parses one Y4M header line (without its newline); throws Y4mError.
Y4mHeader ParseY4mHeader(const std::string &line);

}  // namespace quorlin_resizer
