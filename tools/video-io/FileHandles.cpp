#include "video-io/FileHandles.h"

#include <fcntl.h>
#include <io.h>

#include "video-io/DescriptorStream.h"
#include "video-io/WindowsText.h"

namespace quorlin_resizer {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct PathFacts {
  PathKind kind = PathKind::Missing;
  BY_HANDLE_FILE_INFORMATION information{};  // for a file or folder
};

// Looks at `path` without access rights, in every sharing mode, folders too.
PathFacts Inspect(const std::string &path) {
  PathFacts facts;
  const HANDLE handle = CreateFileW(WideFromUtf8(path).c_str(), 0, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return facts;
  facts.kind = PathKind::Device;
  if (GetFileType(handle) == FILE_TYPE_DISK &&
      GetFileInformationByHandle(handle, &facts.information))
    facts.kind = facts.information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder
                                                                               : PathKind::File;
  CloseHandle(handle);
  return facts;
}

}  // namespace

PathKind KindOfPath(const std::string &path) { return Inspect(path).kind; }

bool SameFile(const std::string &first, const std::string &second) {
  const PathFacts a = Inspect(first), b = Inspect(second);
  return a.kind == PathKind::File && b.kind == PathKind::File &&
         a.information.dwVolumeSerialNumber == b.information.dwVolumeSerialNumber &&
         a.information.nFileIndexHigh == b.information.nFileIndexHigh &&
         a.information.nFileIndexLow == b.information.nFileIndexLow;
}

InputFile OpenInputFile(const std::string &path) {
  if (KindOfPath(path) == PathKind::Folder)
    throw std::runtime_error("cannot open " + path + ": it is a folder");
  const HANDLE handle = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw FileError("open", path);
  InputFile input;
  LARGE_INTEGER size;
  if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size))
    input.bytes = size.QuadPart;
  input.stream = std::make_unique<DescriptorInput>(
      _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY));
  return input;
}

std::unique_ptr<std::ostream> StreamOnHandle(HANDLE handle) {
  return std::make_unique<DescriptorOutput>(
      _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY));
}

std::runtime_error FileError(const std::string &verb, const std::string &path) {
  const DWORD error = GetLastError();
  return std::runtime_error("cannot " + verb + " " + path + ": " + SystemErrorText(error));
}

}  // namespace quorlin_resizer
