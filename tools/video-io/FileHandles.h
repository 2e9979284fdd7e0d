// Files opened by their UTF-8 names through the wide Windows API, and what the program needs to
// know of a path before it writes: whether it names an existing file, a folder or a device, and
// whether two paths name the same file (by volume and file index, an inode under Wine).
#pragma once

#include <windows.h>

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace quorlin_resizer {

enum class PathKind { Missing, File, Folder, Device };

PathKind KindOfPath(const std::string &path);
// False when either path does not name an existing file.
bool SameFile(const std::string &first, const std::string &second);

struct InputFile {
  std::unique_ptr<std::istream> stream;
  long long bytes = -1;  // the file's size; -1 for a device or pipe
};
// Throws std::runtime_error "cannot open PATH: reason".
InputFile OpenInputFile(const std::string &path);

// A binary stream that writes to `handle` and closes it with itself.
std::unique_ptr<std::ostream> StreamOnHandle(HANDLE handle);

// "cannot VERB PATH: the system's reason for GetLastError()".
std::runtime_error FileError(const std::string &verb, const std::string &path);

}  // namespace quorlin_resizer
