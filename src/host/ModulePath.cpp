#include "host/ModulePath.h"

#include <windows.h>

namespace {

size_t FileNameStart(const std::string &path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? 0 : separator + 1;
}

HMODULE OwnModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&OwnModule), &module);
  return module;
}

}  // namespace

std::string OwnModulePath() {
  const HMODULE module = OwnModule();
  // A truncated path would name the wrong directory, so grow the buffer until the path fits.
  std::string path(MAX_PATH + 1, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(module, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string DirectoryOf(const std::string &path) { return path.substr(0, FileNameStart(path)); }

std::string BaseNameOf(const std::string &path) {
  const std::string name = path.substr(FileNameStart(path));
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
