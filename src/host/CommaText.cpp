#include "host/CommaText.h"

#include <cstddef>

namespace {

constexpr char kDelimiter = ',';
constexpr char kQuote = '"';

// Codes 1 to 32: the characters dropped around items. Bytes of 128 and above are text
// (code-page lead and trail bytes), so the test is on the unsigned value.
bool IsBlank(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// Reads a quoted item starting at the opening quote; `pos` ends after the closing quote, or at
// the end of the text when the quote is never closed.
std::string ReadQuotedItem(const std::string &text, size_t &pos) {
  std::string item;
  ++pos;
  while (pos < text.size()) {
    if (text[pos] == kQuote) {
      if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
        item += kQuote;
        pos += 2;
        continue;
      }
      ++pos;
      return item;
    }
    item += text[pos++];
  }
  return item;
}

std::string ReadPlainItem(const std::string &text, size_t &pos) {
  const size_t start = pos;
  while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != kDelimiter) ++pos;
  return text.substr(start, pos - start);
}

void SkipBlanks(const std::string &text, size_t &pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

bool NeedsQuotes(const std::string &item) {
  for (char c : item) {
    if (c == kDelimiter || c == kQuote || IsBlank(c)) return true;
  }
  return false;
}

std::string Quoted(const std::string &item) {
  std::string quoted(1, kQuote);
  for (char c : item) {
    if (c == kQuote) quoted += kQuote;
    quoted += c;
  }
  return quoted + kQuote;
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// Length of the hexadecimal prefix at `pos` ("$", "x", "X", "0x", "0X"), or 0 for decimal.
size_t HexPrefixLength(const std::string &text, size_t pos) {
  if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) return 1;
  if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X'))
    return 2;
  return 0;
}

}  // namespace

std::vector<std::string> SplitCommaText(const std::string &text) {
  std::vector<std::string> items;
  size_t pos = 0;
  SkipBlanks(text, pos);
  while (pos < text.size()) {
    items.push_back(text[pos] == kQuote ? ReadQuotedItem(text, pos) : ReadPlainItem(text, pos));
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == kDelimiter) {
      if (pos + 1 == text.size()) items.emplace_back();
      ++pos;
      SkipBlanks(text, pos);
    }
  }
  return items;
}

std::string JoinCommaText(const std::vector<std::string> &items) {
  if (items.size() == 1 && items[0].empty()) return std::string(2, kQuote);
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += kDelimiter;
    text += NeedsQuotes(items[i]) ? Quoted(items[i]) : items[i];
  }
  return text;
}

std::optional<int32_t> ParseNumber(const std::string &text) {
  size_t pos = 0;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  const size_t prefix = HexPrefixLength(text, pos);
  const int base = prefix > 0 ? 16 : 10;
  pos += prefix;
  if (pos == text.size()) return std::nullopt;

  // Decimal values must fit the signed range; hexadecimal ones are 32-bit patterns.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos], base);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  const uint32_t bits = static_cast<uint32_t>(negative ? 0 - magnitude : magnitude);
  return static_cast<int32_t>(bits);
}

int32_t NumberOr(const std::string &text, int32_t fallback) {
  return ParseNumber(text).value_or(fallback);
}
