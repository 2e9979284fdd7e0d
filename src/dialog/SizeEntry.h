// Size entries of the size list: a width and a height joined by a lower-case "x" ("640x480").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SizeValue {
  int32_t Width;
  int32_t Height;
};

// Width and height of `text`; (0, 0) when the text is not a valid size: no "x", the "x" first,
// a part that is not a number, or a number of 0 or less.
SizeValue ParseSize(const std::string &text);

// "%dx%d" of the two numbers.
std::string FormatSize(int32_t width, int32_t height);

// Where `text` goes in `entries`, which are kept ascending by width, then height: before the
// first entry that is wider, or as wide and at least as tall; entries that do not parse count
// as (0, 0). Returns entries.size() when the text goes last.
size_t SortedInsertPosition(const std::vector<std::string> &entries, const SizeValue &size);
