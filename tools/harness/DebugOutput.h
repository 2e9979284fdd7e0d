// The lines that the plug-in and its libraries write to the system's debug output
// (OutputDebugStringA), such as the plug-in's report of a library it skipped. They are caught
// in this process, as a debugger would see them, without a debugger attached.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace quorlin_harness {

// Catches debug output while it exists; one at a time.
class DebugOutputCapture {
 public:
  // `echo` non-null: every line is also written there as it comes.
  explicit DebugOutputCapture(std::FILE *echo = nullptr);
  ~DebugOutputCapture();
  DebugOutputCapture(const DebugOutputCapture &) = delete;
  DebugOutputCapture &operator=(const DebugOutputCapture &) = delete;

  // The lines caught so far, without their line ends, each once: the host lists the plug-in
  // folder itself too, so the same report may come twice.
  std::vector<std::string> Lines() const;

 private:
  void Add(const std::string &text);
  static long __stdcall OnException(void *exceptionPointers);

  std::FILE *echo_;
  void *handler_;
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  static DebugOutputCapture *active_;
};

}  // namespace quorlin_harness
