#include "video-io/WindowsText.h"

#include <shellapi.h>

namespace quorlin_resizer {

namespace {

std::string Narrow(const std::wstring &text, UINT codePage) {
  if (text.empty()) return {};
  const int wideLength = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string narrow(length, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), wideLength, narrow.data(), length, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace

std::wstring WideFromUtf8(const std::string &text) {
  if (text.empty()) return {};
  const int narrowLength = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), narrowLength, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), narrowLength, wide.data(), length);
  return wide;
}

std::string Utf8FromWide(const std::wstring &text) { return Narrow(text, CP_UTF8); }

std::string AnsiFromUtf8(const std::string &text) { return Narrow(WideFromUtf8(text), CP_ACP); }

std::vector<std::string> Utf8Arguments() {
  int count = 0;
  wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> utf8;
  for (int i = 1; arguments && i < count; ++i) utf8.push_back(Utf8FromWide(arguments[i]));
  LocalFree(arguments);
  return utf8;
}

std::string SystemErrorText(DWORD error) {
  wchar_t *buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  LocalFree(buffer);
  // Line ends, spaces and the final full stop, Western or Japanese.
  while (!text.empty() && std::wstring(L"\r\n .\u3002").find(text.back()) != std::wstring::npos)
    text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : Utf8FromWide(text);
}

}  // namespace quorlin_resizer
