// The progress line of a command-line run on standard error, in the manner of ffmpeg's: frames
// done and frames per second, and when the frame count is known, the percentage and the time
// left. On a terminal the line is redrawn in place; otherwise a line is written now and then,
// so that a log keeps a readable record.
#pragma once

#include <cstdio>
#include <string>

namespace quorlin_resizer {

struct ProgressState {
  int framesDone = 0;
  int framesTotal = -1;  // -1: unknown (a stream)
  double seconds = 0;    // since the first frame was asked for
};

// "frame 120/300  40%  57.3 fps  left 0:03", or "frame 120  57.3 fps" without a total.
std::string FormatProgress(const ProgressState &state);

// The frame count of a Y4M file of `fileBytes`, from its header's length and the size of one
// frame with a plain "FRAME" line; -1 when the file is not that long.
int EstimateY4mFrames(long long fileBytes, long long headerBytes, long long frameBytes);

class ProgressReporter {
 public:
  // `terminal`: redraw one line in place; otherwise a line every few seconds.
  ProgressReporter(std::FILE *out, bool terminal, int framesTotal);
  void Frame(int framesDone, double seconds);
  // Prints the last state and ends the line.
  void Finish(int framesDone, double seconds);

 private:
  void Print(int framesDone, double seconds, const char *end);

  std::FILE *out_;
  bool terminal_;
  int framesTotal_;
  double nextPrint_;
  bool printed_ = false;
};

}  // namespace quorlin_resizer
