// A run of frames through the plug-in, with reading, converting, filtering and writing
// overlapped: a reader thread fetches the next frames, a converter thread writes the next frame
// straight into a spare image of the host's, the plug-in filters the current frame on the
// host's worker threads, and a writer thread takes the result before it out of its image and
// writes it. A timed run can keep the other stages waiting while the plug-in filters.
#pragma once

#include <functional>

#include "harness/HostSession.h"
#include "resizer/Progress.h"
#include "video-io/Y4mWriter.h"

namespace quorlin_resizer {

// Where frames come from: fills the frame given and returns true, or returns false at the end.
using FrameFetcher = std::function<bool(Y4mFrame &)>;

struct StreamRun {
  FrameFetcher fetch;
  ChromaSiting inputSiting;          // where the fetched frames' subsampled chroma sits
  int frameLimit = -1;               // -1: until fetch reports the end
  int frameCount = 0;                // the frame count the plug-in is told; 0: unknown
  Y4mWriter *writer = nullptr;       // null: frames are filtered and dropped; else its header's
                                     // chroma format is the output's
  ProgressReporter *progress = nullptr;
  bool filterAlone = false;          // no other stage works while the plug-in filters (timed
                                     // runs: its figures then count its own threads alone)
};

// Runs every frame; returns the number of frames done. Throws what a stage threw, the first
// failure winning, after all threads have stopped. The session needs kStreamExtraImages extra
// images (HostSessionOptions::extraImages): while the plug-in works in two images, one is
// being filled and one emptied.
int RunFrameStream(quorlin_harness::HostSession &session, const StreamRun &run);

constexpr int kStreamExtraImages = 2;

}  // namespace quorlin_resizer
