#include "resizer/Progress.h"

#include <cmath>

namespace quorlin_resizer {

namespace {

// Redraws on a terminal at most this often; lines to a file or pipe this far apart.
constexpr double kTerminalInterval = 0.25;
constexpr double kLogInterval = 5.0;

std::string Duration(double seconds) {
  const long long whole = std::llround(seconds);
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  return text;
}

}  // namespace

std::string FormatProgress(const ProgressState &state) {
  const double rate = state.seconds > 0 ? state.framesDone / state.seconds : 0;
  char text[128];
  std::string line = "frame " + std::to_string(state.framesDone);
  if (state.framesTotal > 0) {
    std::snprintf(text, sizeof text, "/%d  %3d%%", state.framesTotal,
                  static_cast<int>(100LL * state.framesDone / state.framesTotal));
    line += text;
  }
  std::snprintf(text, sizeof text, "  %.1f fps", rate);
  line += text;
  if (state.framesTotal > 0 && rate > 0 && state.framesDone < state.framesTotal)
    line += "  left " + Duration((state.framesTotal - state.framesDone) / rate);
  return line;
}

int EstimateY4mFrames(long long fileBytes, long long headerBytes, long long frameBytes) {
  const long long framed = frameBytes + 6;  // "FRAME\n"
  if (fileBytes < headerBytes || framed <= 6) return -1;
  return static_cast<int>((fileBytes - headerBytes) / framed);
}

ProgressReporter::ProgressReporter(std::FILE *out, bool terminal, int framesTotal)
    : out_(out),
      terminal_(terminal),
      framesTotal_(framesTotal),
      nextPrint_(terminal ? 0 : kLogInterval) {}

void ProgressReporter::Frame(int framesDone, double seconds) {
  if (seconds < nextPrint_) return;
  nextPrint_ = seconds + (terminal_ ? kTerminalInterval : kLogInterval);
  Print(framesDone, seconds, terminal_ ? "" : "\n");
}

void ProgressReporter::Finish(int framesDone, double seconds) {
  if (framesDone == 0 && !printed_) return;
  Print(framesDone, seconds, "\n");
}

void ProgressReporter::Print(int framesDone, double seconds, const char *end) {
  const std::string line = FormatProgress({framesDone, framesTotal_, seconds});
  // Blanks after the text wipe out a longer line drawn before it.
  std::fprintf(out_, terminal_ ? "\r%-60s%s" : "%s%s", line.c_str(), end);
  std::fflush(out_);
  printed_ = true;
}

}  // namespace quorlin_resizer
