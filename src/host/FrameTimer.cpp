#include "host/FrameTimer.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int kDecimals = 4;

double PerformanceCounterSeconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

FrameClock frameClock = PerformanceCounterSeconds;

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

void SetFrameClock(FrameClock clock) {
  frameClock = clock != nullptr ? clock : PerformanceCounterSeconds;
}

double FrameClockSeconds() { return frameClock(); }

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
