// Size entries of the size list: a width and a height joined by a lower-case "x" ("640x480").
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct SizeValue {
  int32_t Width;
  int32_t Height;
};

// Width and height of `text`; (0, 0) when the text is not a valid size: no "x", the "x" first,
// a part that is not a number, or a number of 0 or less.
SizeValue ParseSize(const std::string &text);

// "%dx%d" of the two numbers.
std::string FormatSize(int32_t width, int32_t height);

// A size as the user typed it, in the list's form ("640x480"), or "" when it is no size. Beyond
// what ParseSize reads it takes what a Japanese input method types: full-width digits, the
// separator as "×", "X" or a full-width x, and blanks (full-width ones too) around either
// number. The text is in code page 932, where those characters are two-byte sequences.
std::string NormalizedSizeText(const std::string &typed);

// Where `size` goes among `count` entries kept ascending by width, then height (`entryAt(i)`
// gives entry i): before the first entry that is wider, or as wide and at least as tall;
// entries that do not parse count as (0, 0). Returns `count` when the size goes last. The
// search halves the range each step, so a list of thousands of sizes reads only a dozen.
size_t SortedInsertPosition(size_t count, const std::function<std::string(size_t)> &entryAt,
                            const SizeValue &size);
