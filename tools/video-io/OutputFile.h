// The output of a run, written so that no file is ever lost: standard output for "-"; a device
// (NUL, a pipe, /dev/null under Wine) directly; any other file under a temporary name beside it,
// renamed over the target only when the run has succeeded. The temporary file is marked for
// deletion from the start, so that whatever ends the run before that (a failure, Ctrl-C, the
// process killed outright) removes it and leaves an existing output as it was.
#pragma once

#include <windows.h>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

namespace quorlin_resizer {

// An output that the run must not write: a folder, the input itself, or an existing file that
// may not be replaced. The message is one line for the user, who named it.
class OutputRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OutputFile {
 public:
  // `path` and `inputPath` in UTF-8; `inputPath` empty for the built-in clip, "-" for standard
  // input. Throws OutputRefused when the output is the input file (the same file by identity,
  // whatever its name) or exists and `overwrite` is false, std::runtime_error with the
  // system's reason when it cannot be created.
  OutputFile(const std::string &path, const std::string &inputPath, bool overwrite);
  // Removes the temporary file unless Commit succeeded.
  ~OutputFile();
  OutputFile(const OutputFile &) = delete;
  OutputFile &operator=(const OutputFile &) = delete;

  std::ostream &Stream() { return *stream_; }
  // Whether the output is written as it goes (standard output or a device), not put in place.
  bool InPlace() const { return temporaryPath_.empty(); }
  // Flushes and closes the stream and puts the file in place; throws with the reason.
  void Commit();

 private:
  std::string path_;
  std::wstring temporaryPath_;  // empty: written in place (standard output or a device)
  HANDLE temporary_ = INVALID_HANDLE_VALUE;  // the temporary file's, owned by stream_
  bool overwrite_;
  std::unique_ptr<std::ostream> stream_;
};

}  // namespace quorlin_resizer
