// A window function's "Func_" entry in the settings file: whether the function is enabled, and
// the luma and chroma parameters last used with it.
#pragma once

#include <string>

#include "host/ResizeSettings.h"
#include "host/SettingsFile.h"
#include "contracts/WindowFuncInfo.h"

struct FuncEntry {
  bool Enabled;
  FuncParamPair Params;  // meaningful only when enabled
};

// The settings-file key of a function: "Func_" followed by its name as its plug-in reports it.
std::string FuncEntryKey(const WindowFuncInfo &info);

// Whether the function's key reads back as written: its name holds no control character (a
// line break would start a new line), no "=", "[" or "]", and ends in no blank (the file's
// reader drops blanks around a key). A function without such a key is never read from or
// written to the file; its parameters start at the default in every run.
bool HasFuncEntryKey(const WindowFuncInfo &info);

// Reads an entry's value. Three items: item 1 other than the number 1 disables the function
// (an item that is no number counts as 1); items 2 and 3 are the luma and chroma parameters.
// Any other item count keeps the function with its defaults. A parameter that is no number,
// or whose low 16 bits lie outside the function's range, becomes its ParamDefault.
FuncEntry ParseFuncEntry(const std::string &value, const WindowFuncInfo &info);

// The function's entry in `file`: ParseFuncEntry of its value, or of nothing when the function
// has no key that reads back as written.
FuncEntry ReadFuncEntry(const TSettingsFile &file, const WindowFuncInfo &info);

// The value written back for a listed function: "1,<luma>,<chroma>".
std::string FormatFuncEntry(const FuncParamPair &params);
