#include "common/PluginLibraries.h"

#include "common/LibraryHealth.h"

namespace {

// Closes a directory listing however the walk over it ends.
class DirectoryListing {
 public:
  DirectoryListing(const std::string &pattern, WIN32_FIND_DATAA *entry)
      : handle_(FindFirstFileA(pattern.c_str(), entry)) {}
  ~DirectoryListing() {
    if (IsOpen()) FindClose(handle_);
  }
  DirectoryListing(const DirectoryListing &) = delete;
  DirectoryListing &operator=(const DirectoryListing &) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA *entry) { return FindNextFileA(handle_, entry) != FALSE; }

 private:
  HANDLE handle_;
};

// The last character decides, read as code-page text: in a double-byte character such as
// "表" (0x95 0x5C) the trailing byte 0x5C is not a backslash.
bool EndsInPathDelimiter(const std::string &path) {
  if (path.empty()) return false;
  size_t lastStart = 0;  // first byte of the last character
  for (size_t i = 0; i < path.size(); ++i) {
    lastStart = i;
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) ++i;
  }
  return lastStart == path.size() - 1 && (path.back() == '\\' || path.back() == '/');
}

std::string WithTrailingDelimiter(const std::string &directory) {
  return EndsInPathDelimiter(directory) ? directory : directory + '\\';
}

bool IsPlainFile(const WIN32_FIND_DATAA &entry) {
  const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (entry.dwFileAttributes & skipped) == 0;
}

// Loads one library and keeps it only if `accept` takes it; a library that is turned down, or
// whose inspection fails with an exception, is released before anything else happens. A
// library whose code faulted while it was inspected stays loaded: unloading it runs its code.
void OfferLibrary(const std::string &path, const std::function<bool(HMODULE module)> &accept) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) return;
  bool accepted = false;
  try {
    accepted = accept(module);
  } catch (...) {
    if (!IsLibraryBroken(module)) FreeLibrary(module);
    throw;
  }
  if (!accepted && !IsLibraryBroken(module)) FreeLibrary(module);
}

}  // namespace

void ForEachPluginLibrary(const std::string &directory,
                          const std::function<bool(HMODULE module)> &accept) {
  const std::string folder = WithTrailingDelimiter(directory);
  WIN32_FIND_DATAA entry;
  DirectoryListing listing(folder + "*.dll", &entry);
  if (!listing.IsOpen()) return;
  do {
    if (IsPlainFile(entry)) OfferLibrary(folder + entry.cFileName, accept);
  } while (listing.Next(&entry));
}

PluginLibraries::~PluginLibraries() {
  while (!handles_.empty()) {
    if (!IsLibraryBroken(handles_.back())) FreeLibrary(handles_.back());
    handles_.pop_back();
  }
}
