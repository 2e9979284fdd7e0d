#include "host/FuncEntry.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "host/CommaText.h"

namespace {

constexpr char kFuncKeyPrefix[] = "Func_";
constexpr size_t kFuncEntryItems = 3;

// A remembered parameter is later handed to the function as it stands, so one outside the
// function's range falls back to the default here.
int16_t RememberedParam(const std::string &item, const WindowFuncInfo &info) {
  const int16_t value = Low16(NumberOr(item, info.ParamDefault));
  return value < info.ParamMin || value > info.ParamMax ? info.ParamDefault : value;
}

}  // namespace

std::string FuncEntryKey(const WindowFuncInfo &info) { return kFuncKeyPrefix + std::string(info.Name); }

// Walks the name as code-page text: the trailing byte of a double-byte character may have the
// code of "[" or "]" and is part of the character, not a bracket.
bool HasFuncEntryKey(const WindowFuncInfo &info) {
  const std::string name = info.Name;
  if (!name.empty() && name.back() == ' ') return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsDBCSLeadByte(c) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F || c == '=' || c == '[' || c == ']') return false;
  }
  return true;
}

FuncEntry ReadFuncEntry(const TSettingsFile &file, const WindowFuncInfo &info) {
  return ParseFuncEntry(HasFuncEntryKey(info) ? file.Read(FuncEntryKey(info), "") : "", info);
}

FuncEntry ParseFuncEntry(const std::string &value, const WindowFuncInfo &info) {
  const std::vector<std::string> items = SplitCommaText(value);
  if (items.size() != kFuncEntryItems) {
    return FuncEntry{true, FuncParamPair{info.ParamDefault, info.ParamDefault}};
  }
  if (NumberOr(items[0], 1) != 1) return FuncEntry{false, FuncParamPair{}};
  return FuncEntry{true, FuncParamPair{RememberedParam(items[1], info), RememberedParam(items[2], info)}};
}

std::string FormatFuncEntry(const FuncParamPair &params) {
  char text[40];
  std::snprintf(text, sizeof text, "%d,%d,%d", 1, static_cast<int>(params.Luma),
                static_cast<int>(params.Chroma));
  return text;
}
