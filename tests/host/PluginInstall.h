// One installation of the built Quorlin.auf in a temporary directory of its own, as a user
// would have it: the module, its settings file and a plug-in folder with the recording test
// libraries. The tree is deleted again when the object goes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness/HostSession.h"
#include "RecordingLogs.h"
#include "host/ResizeSettings.h"

struct InstallLayout {
  std::string moduleName = "Quorlin.auf";
  // Plug-in folder, relative to the module's folder (the libraries are copied there).
  std::string pluginFolder = "DLL";
  bool windowFuncs = true;
  // WindowFuncs.dll as the build ships it.
  bool shippedWindowFuncs = false;
  bool kernels = true;
  // Further test libraries of the build copied into the plug-in folder.
  std::vector<std::string> extraLibraries{};
};

class PluginInstall {
 public:
  explicit PluginInstall(const InstallLayout &layout = InstallLayout());
  ~PluginInstall();
  PluginInstall(const PluginInstall &) = delete;
  PluginInstall &operator=(const PluginInstall &) = delete;

  const std::string &ModuleDirectory() const { return moduleDirectory_; }
  std::string ModulePath() const { return moduleDirectory_ + layout_.moduleName; }
  std::string SettingsPath() const { return moduleDirectory_ + "QuorlinEx.ini"; }

  void WriteSetting(const std::string &section, const std::string &key, const std::string &value);
  // The key's value, or "<missing>" when the file, section or key is not there.
  std::string ReadSetting(const std::string &section, const std::string &key) const;
  // The settings file's bytes as they stand, and a whole new file of `text`.
  std::string SettingsFileText() const;
  void WriteSettingsFileText(const std::string &text);

  quorlin_harness::HostSessionOptions Options(bool yuy2 = false) const;

  // The logs inside the libraries the running plug-in loaded (null when not loaded).
  KernelLogRecord *KernelLog(const std::string &libraryName) const;
  CreateLogRecord *CreateLog(const std::string &libraryName = "RecordingWindowFuncs.dll") const;

 private:
  void *LoadedExport(const std::string &libraryName, const char *exportName) const;

  InstallLayout layout_;
  std::string root_;
  std::string moduleDirectory_;
  std::string pluginDirectory_;
};

// A settings record as a project stores it.
ResizeSettings ProjectSettings(int32_t width, int32_t height, const std::string &luma,
                               const std::string &chroma, int32_t lumaParam = 0,
                               int32_t chromaParam = 0, const std::string &kernel = "");
std::vector<uint8_t> ProjectBytes(const ResizeSettings &settings);
ResizeSettings SettingsOf(const std::vector<uint8_t> &bytes);

// A flat grey frame of the given size in the session's pixel format.
std::vector<uint8_t> GreyFrame(int width, int height, bool yuy2);
// Runs one grey frame through the filter; false when func_proc failed.
bool ProcessGreyFrame(quorlin_harness::HostSession &session, int width, int height);
