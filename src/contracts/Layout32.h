// The records in this folder cross library boundaries: between the plug-in and its kernel and
// window-function libraries, and into the kernels' routines. The 32-bit editor's libraries
// agree on their bytes, so every offset is checked for 4-byte pointers. A 64-bit build links
// its kernels and window functions in and shares the records' meaning only: nothing is checked
// there, and no other code may depend on the word size.
#pragma once

#define CHECK_LAYOUT32(condition, what) static_assert(sizeof(void *) != 4 || (condition), what)
