#include "dialog/SizeEntry.h"

#include <cstdio>
#include <optional>

#include "host/CommaText.h"

namespace {

constexpr char kSeparator = 'x';

constexpr char kBlank = ' ';

bool GoesBefore(const SizeValue &size, const SizeValue &entry) {
  return entry.Width > size.Width || (entry.Width == size.Width && entry.Height >= size.Height);
}

// Code page 932: a byte in these ranges starts a two-byte character.
bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The half-width form of a two-byte character that can be part of a typed size: a digit, the
// separator or a blank. None for every other character.
std::optional<char> HalfWidthOf(unsigned char lead, unsigned char trail) {
  const unsigned code = lead << 8 | trail;
  constexpr unsigned kFullWidthZero = 0x824F, kFullWidthNine = 0x8258;
  constexpr unsigned kTimesSign = 0x817E, kFullWidthSmallX = 0x8298, kFullWidthCapitalX = 0x8277;
  constexpr unsigned kFullWidthSpace = 0x8140;
  if (code >= kFullWidthZero && code <= kFullWidthNine)
    return static_cast<char>('0' + (code - kFullWidthZero));
  if (code == kTimesSign || code == kFullWidthSmallX || code == kFullWidthCapitalX)
    return kSeparator;
  if (code == kFullWidthSpace) return kBlank;
  return std::nullopt;
}

// The typed text with every character that can be part of a size in its half-width form: "X"
// as the separator "x" and control characters as blanks. None when a two-byte character has
// no such form (it can be part of no size) or the text ends inside one.
std::optional<std::string> HalfWidthText(const std::string &typed) {
  std::string text;
  for (size_t i = 0; i < typed.size(); ++i) {
    const auto byte = static_cast<unsigned char>(typed[i]);
    if (IsLeadByte(byte)) {
      if (i + 1 == typed.size()) return std::nullopt;
      const std::optional<char> halfWidth =
          HalfWidthOf(byte, static_cast<unsigned char>(typed[++i]));
      if (!halfWidth) return std::nullopt;
      text += *halfWidth;
    } else if (byte == 'X') {
      text += kSeparator;
    } else {
      text += byte <= ' ' ? kBlank : static_cast<char>(byte);
    }
  }
  return text;
}

std::string WithoutOuterBlanks(const std::string &text) {
  const size_t first = text.find_first_not_of(kBlank);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
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

std::string NormalizedSizeText(const std::string &typed) {
  const std::optional<std::string> text = HalfWidthText(typed);
  if (!text) return std::string();
  const size_t separator = text->find(kSeparator);
  if (separator == std::string::npos) return std::string();
  const SizeValue size = ParseSize(WithoutOuterBlanks(text->substr(0, separator)) + kSeparator +
                                   WithoutOuterBlanks(text->substr(separator + 1)));
  return size.Width == 0 ? std::string() : FormatSize(size.Width, size.Height);
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
