#include "harness/DebugOutput.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quorlin_harness {

namespace {

// The exception that OutputDebugStringA raises: its text's length (with the zero) and address.
constexpr DWORD kDebugPrintException = 0x40010006;

}  // namespace

DebugOutputCapture *DebugOutputCapture::active_ = nullptr;

DebugOutputCapture::DebugOutputCapture(std::FILE *echo) : echo_(echo) {
  if (active_) throw std::logic_error("debug output is captured already");
  active_ = this;
  handler_ = AddVectoredExceptionHandler(
      1, reinterpret_cast<PVECTORED_EXCEPTION_HANDLER>(&DebugOutputCapture::OnException));
}

DebugOutputCapture::~DebugOutputCapture() {
  RemoveVectoredExceptionHandler(handler_);
  active_ = nullptr;
}

std::vector<std::string> DebugOutputCapture::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void DebugOutputCapture::Add(const std::string &text) {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (std::find(lines_.begin(), lines_.end(), line) != lines_.end()) continue;
    lines_.push_back(line);
    if (echo_) std::fprintf(echo_, "%s\n", line.c_str());
  }
}

// Takes a copy of the text and lets the exception go on to OutputDebugStringA's own handler,
// so that a debugger or debug viewer still receives it.
long __stdcall DebugOutputCapture::OnException(void *exceptionPointers) {
  const EXCEPTION_RECORD &record = *static_cast<EXCEPTION_POINTERS *>(exceptionPointers)->ExceptionRecord;
  if (record.ExceptionCode == kDebugPrintException && record.NumberParameters >= 2 && active_) {
    const char *text = reinterpret_cast<const char *>(record.ExceptionInformation[1]);
    const size_t length = static_cast<size_t>(record.ExceptionInformation[0]);
    if (text && length > 0) active_->Add(std::string(text, strnlen(text, length)));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace quorlin_harness
