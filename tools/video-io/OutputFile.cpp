#include "video-io/OutputFile.h"

#include <io.h>

#include "video-io/DescriptorStream.h"
#include "video-io/FileHandles.h"
#include "video-io/WindowsText.h"

namespace quorlin_resizer {

namespace {

void CheckTarget(const std::string &path, const std::string &inputPath, bool overwrite) {
  const PathKind kind = KindOfPath(path);
  if (kind == PathKind::Folder) throw OutputRefused("the output " + path + " is a folder");
  if (kind != PathKind::File) return;
  if (inputPath != "-" && !inputPath.empty() && SameFile(path, inputPath))
    throw OutputRefused("the output " + path + " is the input file; name another output");
  if (!overwrite)
    throw OutputRefused("the output " + path + " exists; -y overwrites it");
}

// Beside the target, so that the rename stays on its volume; the process id keeps two runs
// writing the same output apart.
std::wstring TemporaryPathFor(const std::string &path) {
  return WideFromUtf8(path) + L".quorlin-" + std::to_wstring(GetCurrentProcessId()) + L".part";
}

HANDLE CreateForWriting(const std::wstring &path, DWORD access, DWORD disposition) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Whether the file of `handle` goes when its last handle closes. Set from the start, the system
// removes the temporary file even when the process is killed outright; cleared only to put it
// in place.
bool SetDeleteOnClose(HANDLE handle, bool remove) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = remove;
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                    sizeof disposition) != 0;
}

}  // namespace

OutputFile::OutputFile(const std::string &path, const std::string &inputPath, bool overwrite)
    : path_(path), overwrite_(overwrite) {
  if (path == "-") {
    stream_ = std::make_unique<DescriptorOutput>(_fileno(stdout));
    return;
  }
  CheckTarget(path, inputPath, overwrite);
  if (KindOfPath(path) == PathKind::Device) {
    const HANDLE device = CreateForWriting(WideFromUtf8(path), GENERIC_WRITE, OPEN_EXISTING);
    if (device == INVALID_HANDLE_VALUE) throw FileError("write to", path);
    stream_ = StreamOnHandle(device);
    return;
  }
  const std::wstring temporaryPath = TemporaryPathFor(path);
  temporary_ = CreateForWriting(temporaryPath, GENERIC_WRITE | DELETE, CREATE_ALWAYS);
  if (temporary_ == INVALID_HANDLE_VALUE) throw FileError("create", path);
  if (!SetDeleteOnClose(temporary_, true)) {
    const std::runtime_error error = FileError("create", path);
    CloseHandle(temporary_);
    DeleteFileW(temporaryPath.c_str());
    throw error;
  }
  temporaryPath_ = temporaryPath;
  stream_ = StreamOnHandle(temporary_);
}

OutputFile::~OutputFile() {
  stream_.reset();
  // A file the commit kept but could not move into place.
  if (!temporaryPath_.empty()) DeleteFileW(temporaryPath_.c_str());
}

void OutputFile::Commit() {
  if (!stream_->flush()) throw std::runtime_error("cannot write " + path_);
  if (!temporaryPath_.empty() && !SetDeleteOnClose(temporary_, false))
    throw FileError("write", path_);
  stream_.reset();
  if (temporaryPath_.empty()) return;
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (overwrite_ ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExW(temporaryPath_.c_str(), WideFromUtf8(path_).c_str(), flags))
    throw FileError("write", path_);
  temporaryPath_.clear();
}

}  // namespace quorlin_resizer
