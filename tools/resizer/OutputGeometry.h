// The shape of a resized stream. The output keeps the input's display aspect: a picture of
// W x H samples of aspect S shows W x S / H wide, so a new size carries the sample aspect
//   S_out = S_in x (W_in x H_out) / (H_in x W_out),
// reduced; an unknown aspect (0:0) stays unknown. A side computed from the other (-1, -2 in
// --size) follows the stored size, not the display aspect, as ffmpeg's scale filter does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "resizer/CommandLine.h"
#include "resizer/Installation.h"
#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

struct Ratio {
  int64_t numerator = 0, denominator = 0;  // 0:0: unknown
  bool Known() const { return numerator > 0 && denominator > 0; }
};

// "10:11" as a ratio; "0:0" and anything else that is not two positive numbers: unknown.
Ratio ParseRatio(const std::string &text);
// `numerator`:`denominator` in lowest terms, approximated by the nearest fraction whose terms
// fit a 32-bit integer when they do not (a Y4M reader holds them in one); unknown unless both
// are positive.
Ratio Reduced(int64_t numerator, int64_t denominator);

// The Y4M A value ("135:176") of the input's picture resized to `width` x `height`.
std::string OutputSampleAspect(const Y4mHeader &input, int width, int height);

// The header of a resized stream: the input's frame rate, the aspect that keeps its display
// aspect, the output's size and chroma format (4:2:0 centred, 4:2:2 left-sited), and always
// progressive, since the plug-in resizes whole frames.
Y4mHeader OutputHeaderFor(const Y4mHeader &input, int width, int height, ChromaFormat chroma);

// The target size of `request` for the input: sides given as they are; -1 or -2 for one side
// is the other side times the input's stored shape, rounded to the nearest whole number or to
// the nearest multiple of 2 (halves away from zero). Throws UsageError when it comes out
// outside 1..16384.
FrameSize TargetSize(const SizeRequest &request, const Y4mHeader &input);

// A line of warning when `size`, shown with square samples, differs from the input's display
// aspect by more than 1 %, with the --size that keeps the input's shape; none otherwise.
std::optional<std::string> ShapeWarning(const FrameSize &size, const Y4mHeader &input);

}  // namespace quorlin_resizer
