#include "PluginCases.h"

#include <algorithm>

namespace {

std::string FileNamePart(const std::string &path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TestProgramDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1);
}

void RemoveTree(const std::string &directory) {
  WIN32_FIND_DATAA entry;
  HANDLE listing = FindFirstFileA((directory + "\\*").c_str(), &entry);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = directory + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
  }
  RemoveDirectoryA(directory.c_str());
}

}  // namespace

std::string CaseDirectory(const char *caseName) {
  return TestProgramDirectory() + "cases\\" + caseName;
}

std::string FreshScratchDirectory(const std::string &name) {
  const std::string scratch = TestProgramDirectory() + "scratch";
  CreateDirectoryA(scratch.c_str(), nullptr);
  const std::string directory = scratch + "\\" + name;
  RemoveTree(directory);
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

std::vector<std::string> ListedDllNames(const std::string &directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE listing = FindFirstFileA((directory + "\\*.dll").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return names;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(entry.cFileName);
  } while (FindNextFileA(listing, &entry));
  FindClose(listing);
  return names;
}

bool IsLoaded(const std::string &fileName) { return GetModuleHandleA(fileName.c_str()) != nullptr; }

std::string ModuleFileOf(const void *address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const char *>(address), &module)) {
    return "";
  }
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return FileNamePart(std::string(path, length));
}

std::string TakeUnloadLog() {
  char log[1024] = "";
  GetEnvironmentVariableA("QUORLIN_UNLOAD_LOG", log, sizeof(log));
  SetEnvironmentVariableA("QUORLIN_UNLOAD_LOG", nullptr);
  return log;
}

std::vector<std::string> SkipReports(const std::vector<std::string> &debugOutput) {
  const std::string prefix = "Quorlin: skipped ";
  std::vector<std::string> reports;
  for (const std::string &line : debugOutput) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    const size_t fileEnd = line.find(".dll: ");
    if (fileEnd == std::string::npos) continue;
    reports.push_back(FileNamePart(line.substr(prefix.size(), fileEnd + 4 - prefix.size())) +
                      line.substr(fileEnd + 4));
  }
  std::sort(reports.begin(), reports.end());
  return reports;
}
