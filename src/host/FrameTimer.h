// The benchmark of a save run: every timed frame's engine call, and the title that shows the
// shortest and the average time when the save ends.
#pragma once

#include <cstdint>
#include <string>

class TFrameTimer {
 public:
  // Forgets every timed frame (save start).
  void Reset();
  // Adds one frame's engine time in seconds.
  void AddFrame(double seconds);

  int32_t TimedFrames() const { return timedFrames_; }
  double MinFrameTime() const { return minFrameTime_; }
  double TotalFrameTime() const { return totalFrameTime_; }

 private:
  double minFrameTime_ = 0.0;  // shortest timed frame; meaningful once a frame was timed
  double totalFrameTime_ = 0.0;
  int32_t timedFrames_ = 0;
};

// The clock that times the frames: the performance counter and its frequency, or the counter
// and frequency a test set in their place (null: the performance counter's again).
using FrameCounter = int64_t (*)();
void SetFrameClock(FrameCounter counter, FrameCounter frequency);
int64_t FrameClockReading();
// Seconds from `start` to `end`, two readings: their signed 64-bit difference over the
// frequency, so that a counter that wraps between them, or that stands too high for a double to
// hold it to the tick, still gives the exact time.
double FrameClockSeconds(int64_t start, int64_t end);

// "%.4fms %.4fms" of the shortest and the average frame time in milliseconds, with
// `decimalSeparator` in place of the decimal point. Needs at least one timed frame.
std::string FrameTimesTitle(const TFrameTimer &timer, const std::string &decimalSeparator);

// The decimal separator of the user's locale ("." when the locale does not say).
std::string UserDecimalSeparator();
