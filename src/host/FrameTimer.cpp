#include "host/FrameTimer.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int kDecimals = 4;

int64_t PerformanceCounter() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

int64_t PerformanceFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

FrameCounter frameCounter = PerformanceCounter;
FrameCounter frameFrequency = PerformanceFrequency;

// One number with four decimals; the C library's own decimal point, whatever locale the host
// process set, is replaced by the user's separator.
std::string Milliseconds(double milliseconds, const std::string &decimalSeparator) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%.4f", milliseconds);
  std::string number(text, length > 0 ? length : 0);
  const size_t point = number.size() - kDecimals - 1;
  return number.substr(0, point) + decimalSeparator + number.substr(point + 1);
}

}  // namespace

void SetFrameClock(FrameCounter counter, FrameCounter frequency) {
  frameCounter = counter != nullptr ? counter : PerformanceCounter;
  frameFrequency = frequency != nullptr ? frequency : PerformanceFrequency;
}

int64_t FrameClockReading() { return frameCounter(); }

double FrameClockSeconds(int64_t start, int64_t end) {
  const auto ticks = static_cast<int64_t>(static_cast<uint64_t>(end) - static_cast<uint64_t>(start));
  return static_cast<double>(ticks) / static_cast<double>(frameFrequency());
}

void TFrameTimer::Reset() {
  minFrameTime_ = 0.0;
  totalFrameTime_ = 0.0;
  timedFrames_ = 0;
}

void TFrameTimer::AddFrame(double seconds) {
  if (timedFrames_ == 0 || seconds < minFrameTime_) minFrameTime_ = seconds;
  totalFrameTime_ += seconds;
  ++timedFrames_;
}

std::string FrameTimesTitle(const TFrameTimer &timer, const std::string &decimalSeparator) {
  const double shortest = timer.MinFrameTime() * 1000;
  const double average = timer.TotalFrameTime() * 1000 / timer.TimedFrames();
  return Milliseconds(shortest, decimalSeparator) + "ms " +
         Milliseconds(average, decimalSeparator) + "ms";
}

std::string UserDecimalSeparator() {
  char separator[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 1)
    return ".";
  return separator;
}
