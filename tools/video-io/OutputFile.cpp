#include "video-io/OutputFile.h"

#include <io.h>

#include <mutex>

#include "video-io/DescriptorStream.h"
#include "video-io/FileHandles.h"
#include "video-io/WindowsText.h"

namespace quorlin_resizer {

namespace {

// The temporary file of the run, removed by the console's Ctrl-C handler, which runs on a
// thread of its own and then lets the process end.
std::mutex pendingMutex;
std::wstring pendingFile;

BOOL WINAPI RemovePendingFile(DWORD) {
  std::lock_guard<std::mutex> lock(pendingMutex);
  if (!pendingFile.empty()) DeleteFileW(pendingFile.c_str());
  return FALSE;  // the default handler ends the process
}

void SetPendingFile(const std::wstring &path) {
  std::lock_guard<std::mutex> lock(pendingMutex);
  pendingFile = path;
}

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

HANDLE CreateForWriting(const std::wstring &path, DWORD disposition) {
  // Shared for deletion, so that the Ctrl-C handler can remove it while it is open.
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    const HANDLE device = CreateForWriting(WideFromUtf8(path), OPEN_EXISTING);
    if (device == INVALID_HANDLE_VALUE) throw FileError("write to", path);
    stream_ = StreamOnHandle(device);
    return;
  }
  temporaryPath_ = TemporaryPathFor(path);
  static const bool handlerSet = SetConsoleCtrlHandler(RemovePendingFile, TRUE);
  (void)handlerSet;
  SetPendingFile(temporaryPath_);
  const HANDLE file = CreateForWriting(temporaryPath_, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) {
    SetPendingFile(L"");
    throw FileError("create", path);
  }
  stream_ = StreamOnHandle(file);
}

OutputFile::~OutputFile() {
  stream_.reset();
  if (temporaryPath_.empty()) return;
  DeleteFileW(temporaryPath_.c_str());
  SetPendingFile(L"");
}

void OutputFile::Commit() {
  if (!stream_->flush()) throw std::runtime_error("cannot write " + path_);
  stream_.reset();
  if (temporaryPath_.empty()) return;
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (overwrite_ ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExW(temporaryPath_.c_str(), WideFromUtf8(path_).c_str(), flags))
    throw FileError("write", path_);
  SetPendingFile(L"");
  temporaryPath_.clear();
}

}  // namespace quorlin_resizer
