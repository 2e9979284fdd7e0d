// Reading what a plug-in library points at without faulting: a broken library may hand over
// pointers into memory the process cannot read, or text without its terminating zero.
#pragma once

#include <cstddef>

// True when every one of the `bytes` bytes from `address` on is committed memory that the
// process may read (no guard page, no no-access page).
bool IsReadableMemory(const void *address, size_t bytes);

// True when `text` is a zero-terminated text of at most `maxLength` bytes before its zero, and
// all of it up to the zero is readable memory. Looks at no byte past the zero or the bound.
bool IsBoundedText(const char *text, size_t maxLength);
