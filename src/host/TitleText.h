// The display title: at most 64 bytes of code-page-932 text, never ending in half a character.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kTitleMaxBytes = 64;

// True for the first byte of a double-byte code-page-932 character.
bool IsCP932LeadByte(unsigned char byte);

// The longest start of `text` of at most `maxBytes` bytes that ends on a character boundary:
// a double-byte character that would not fit whole is left out entirely.
std::string CutAtCharBoundary(const std::string &text, size_t maxBytes);
