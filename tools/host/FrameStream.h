// A run of frames through the plug-in, with reading, filtering and writing overlapped: a reader
// thread fetches the next frames while the host's worker threads convert and filter the current
// one, and a writer thread writes the frames before it. The conversions to and from the host's
// format are split over the worker threads by rows and write straight into (and read straight
// out of) the host's images.
#pragma once

#include <functional>

#include "HostSession.h"
#include "Progress.h"
#include "Y4mWriter.h"

namespace quorlin_host {

// Where frames come from: fills the frame given and returns true, or returns false at the end.
using FrameFetcher = std::function<bool(Y4mFrame &)>;

struct StreamRun {
  FrameFetcher fetch;
  int frameLimit = -1;               // -1: until fetch reports the end
  Y4mWriter *writer = nullptr;       // null: frames are filtered and dropped
  ProgressReporter *progress = nullptr;
};

// Runs every frame; returns the number of frames done. Throws what a stage threw, the first
// failure winning, after all threads have stopped.
int RunFrameStream(HostSession &session, const StreamRun &run);

}  // namespace quorlin_host
