#include "resizer/SettingsFileGuard.h"

#include <windows.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace quorlin_resizer {

SettingsFileGuard::SettingsFileGuard(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  bytes_ = bytes.str();
}

// Runs while the program ends, possibly after a failure: it reports instead of throwing.
SettingsFileGuard::~SettingsFileGuard() {
  if (!bytes_) {
    if (!DeleteFileA(path_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
      std::cerr << "quorlin_resizer: cannot remove " << path_ << ", which this run created\n";
    return;
  }
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(bytes_->data(), static_cast<std::streamsize>(bytes_->size()));
  if (!out.flush()) std::cerr << "quorlin_resizer: cannot restore " << path_ << "\n";
}

}  // namespace quorlin_resizer
