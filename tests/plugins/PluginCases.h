// Where the fixture libraries of the plug-in list tests live, and how a test observes them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The folder of the fixtures of one case, without a trailing delimiter.
std::string CaseDirectory(const char *caseName);

// An empty folder of the test's own under the test program's scratch folder.
std::string FreshScratchDirectory(const std::string &name);

// The plain "*.dll" files of `directory`, in the order the directory listing returns them.
std::vector<std::string> ListedDllNames(const std::string &directory);

bool IsLoaded(const std::string &fileName);

// The file name of the loaded module that holds `address`, e.g. "wthree.dll".
std::string ModuleFileOf(const void *address);

// The "<id>;" entries the fixtures logged while being unloaded since the last call.
std::string TakeUnloadLog();

// The "Quorlin: skipped <path>: <reason>" lines among `debugOutput`, as "<file name>: <reason>",
// sorted.
std::vector<std::string> SkipReports(const std::vector<std::string> &debugOutput);
