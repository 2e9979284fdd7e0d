// Text between the program's own strings, which are UTF-8, and the Windows API's UTF-16, so
// that file names outside the system's code page (Japanese under an English system, emoji under
// any) reach the file system as typed and appear in messages as typed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorlin_resizer {

std::wstring WideFromUtf8(const std::string &text);
std::string Utf8FromWide(const std::wstring &text);
// In the system's ANSI code page, for the APIs that take no other; characters it lacks
// become '?'.
std::string AnsiFromUtf8(const std::string &text);

// The program's arguments after its name, in UTF-8, from the command line as typed.
std::vector<std::string> Utf8Arguments();

// The system's description of an error code, in one line without its final full stop
// ("The system cannot find the file specified").
std::string SystemErrorText(DWORD error);

}  // namespace quorlin_resizer
