// Comma text and numbers as the settings file and the configuration dialog read and write them.
//
// Reading: items are separated by commas; characters 1..32 around an item are dropped and end
// an unquoted item; an item that starts with a double quote runs to the closing quote, with
// two quotes inside standing for one; a comma at the very end of the text adds an empty item.
// Writing: items joined by commas; an item holding a comma, a double quote or a character
// 1..32 is quoted with inner quotes doubled; one empty item is written as "", no items as "".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::vector<std::string> SplitCommaText(const std::string &text);
std::string JoinCommaText(const std::vector<std::string> &items);

// A signed 32-bit whole number: optional sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X", "0x" or "0X". Anything else (including out-of-range values) gives no value.
std::optional<int32_t> ParseNumber(const std::string &text);

// ParseNumber, or `fallback` when the text is not such a number.
int32_t NumberOr(const std::string &text, int32_t fallback);
