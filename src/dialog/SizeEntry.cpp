#include "dialog/SizeEntry.h"

#include <cstdio>

#include "host/CommaText.h"

namespace {

constexpr char kSeparator = 'x';

bool GoesBefore(const SizeValue &size, const SizeValue &entry) {
  return entry.Width > size.Width || (entry.Width == size.Width && entry.Height >= size.Height);
}

}  // namespace

SizeValue ParseSize(const std::string &text) {
  const size_t separator = text.find(kSeparator);
  if (separator == std::string::npos || separator == 0) return SizeValue{0, 0};
  const int32_t width = NumberOr(text.substr(0, separator), 0);
  const int32_t height = NumberOr(text.substr(separator + 1), 0);
  if (width <= 0 || height <= 0) return SizeValue{0, 0};
  return SizeValue{width, height};
}

std::string FormatSize(int32_t width, int32_t height) {
  char text[32];
  std::snprintf(text, sizeof text, "%dx%d", static_cast<int>(width), static_cast<int>(height));
  return text;
}

size_t SortedInsertPosition(size_t count, const std::function<std::string(size_t)> &entryAt,
                            const SizeValue &size) {
  size_t first = 0;
  while (count > 0) {
    const size_t half = count / 2;
    if (GoesBefore(size, ParseSize(entryAt(first + half)))) {
      count = half;
    } else {
      first += half + 1;
      count -= half + 1;
    }
  }
  return first;
}
