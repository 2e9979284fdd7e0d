#include "PluginInstall.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

const char *const kLibraries[] = {"RecordingWindowFuncs.dll", "RecordingKernelA.dll",
                                  "RecordingKernelB.dll"};

std::string UniqueRoot() {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "quorlin_plugin_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(++counter) + "\\";
}

void MakeDirectories(const std::string &path) {
  for (size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
    CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
}

std::string FullPath(const std::string &path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return std::string(full, length);
}

void Copy(const std::string &from, const std::string &to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from);
}

void RemoveTree(const std::string &directory) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(directory + name + "\\");
      else DeleteFileA((directory + name).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(directory.c_str());
}

// A library whose code faulted stays loaded after the plug-in is gone (it is never unloaded), and
// a loaded library's file cannot be deleted: the test, whose process it is, unloads it first.
void UnloadLibrariesOf(const std::string &directory) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((directory + "*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string path = directory + found.cFileName;
    for (HMODULE module; (module = GetModuleHandleA(path.c_str())) != nullptr;) {
      if (!FreeLibrary(module)) break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

PluginInstall::PluginInstall(const InstallLayout &layout)
    : layout_(layout), root_(UniqueRoot()), moduleDirectory_(root_ + "module\\"),
      pluginDirectory_(FullPath(moduleDirectory_ + layout.pluginFolder + "\\")) {
  MakeDirectories(moduleDirectory_);
  MakeDirectories(pluginDirectory_);
  Copy(QUORLIN_AUF_PATH, ModulePath());
  const std::string built = QUORLIN_TEST_LIBRARY_DIR;
  if (layout.windowFuncs) Copy(built + kLibraries[0], pluginDirectory_ + kLibraries[0]);
  if (layout.kernels) {
    Copy(built + kLibraries[1], pluginDirectory_ + kLibraries[1]);
    Copy(built + kLibraries[2], pluginDirectory_ + kLibraries[2]);
  }
  for (const std::string &library : layout.extraLibraries) Copy(built + library, pluginDirectory_ + library);
  if (layout.shippedWindowFuncs)
    Copy(QUORLIN_DIST_DLL "WindowFuncs.dll", pluginDirectory_ + "WindowFuncs.dll");
}

PluginInstall::~PluginInstall() {
  UnloadLibrariesOf(pluginDirectory_);
  RemoveTree(root_);
}

void PluginInstall::WriteSetting(const std::string &section, const std::string &key,
                                 const std::string &value) {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), SettingsPath().c_str()))
    throw std::runtime_error("cannot write " + SettingsPath());
}

std::string PluginInstall::ReadSetting(const std::string &section, const std::string &key) const {
  std::vector<char> value(1 << 16);
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", value.data(),
                                                static_cast<DWORD>(value.size()), SettingsPath().c_str());
  return std::string(value.data(), length);
}

std::string PluginInstall::SettingsFileText() const {
  std::ifstream in(SettingsPath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PluginInstall::WriteSettingsFileText(const std::string &text) {
  std::ofstream out(SettingsPath(), std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + SettingsPath());
}

quorlin_harness::HostSessionOptions PluginInstall::Options(bool yuy2) const {
  quorlin_harness::HostSessionOptions options;
  options.aufPath = ModulePath();
  options.yuy2 = yuy2;
  options.threads = 1;
  return options;
}

void *PluginInstall::LoadedExport(const std::string &libraryName, const char *exportName) const {
  const HMODULE module = GetModuleHandleA((pluginDirectory_ + libraryName).c_str());
  return module ? reinterpret_cast<void *>(GetProcAddress(module, exportName)) : nullptr;
}

KernelLogRecord *PluginInstall::KernelLog(const std::string &libraryName) const {
  return static_cast<KernelLogRecord *>(LoadedExport(libraryName, "KernelLog"));
}

CreateLogRecord *PluginInstall::CreateLog(const std::string &libraryName) const {
  return static_cast<CreateLogRecord *>(LoadedExport(libraryName, "CreateLog"));
}

ResizeSettings ProjectSettings(int32_t width, int32_t height, const std::string &luma,
                               const std::string &chroma, int32_t lumaParam, int32_t chromaParam,
                               const std::string &kernel) {
  ResizeSettings settings = DefaultResizeSettings();
  settings.Width = width;
  settings.Height = height;
  StoreNameField(luma, settings.LumaMode);
  StoreNameField(chroma, settings.ChromaMode);
  StoreNameField(kernel, settings.SIMDMode);
  settings.LumaParam = lumaParam;
  settings.ChromaParam = chromaParam;
  return settings;
}

std::vector<uint8_t> ProjectBytes(const ResizeSettings &settings) {
  std::vector<uint8_t> bytes(sizeof settings);
  std::memcpy(bytes.data(), &settings, sizeof settings);
  return bytes;
}

ResizeSettings SettingsOf(const std::vector<uint8_t> &bytes) {
  ResizeSettings settings{};
  if (bytes.size() != sizeof settings) throw std::runtime_error("extra data is not a settings record");
  std::memcpy(&settings, bytes.data(), sizeof settings);
  return settings;
}

std::vector<uint8_t> GreyFrame(int width, int height, bool yuy2) {
  if (yuy2) {
    std::vector<uint8_t> frame(static_cast<size_t>(width) * height * 2);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = i % 2 == 0 ? 128 : 110;
    return frame;
  }
  std::vector<uint8_t> frame(static_cast<size_t>(width) * height * 6);
  for (size_t i = 0; i < frame.size(); i += 6) {
    const PIXEL_YC pixel = {2048, 100, -100};
    std::memcpy(&frame[i], &pixel, sizeof pixel);
  }
  return frame;
}

bool ProcessGreyFrame(quorlin_harness::HostSession &session, int width, int height) {
  const bool yuy2 = session.Options().yuy2;
  const std::vector<uint8_t> frame = GreyFrame(width, height, yuy2);
  quorlin_harness::FrameInput input;
  input.pixels = frame.data();
  input.width = width;
  input.height = height;
  input.strideBytes = static_cast<ptrdiff_t>(width) * (yuy2 ? 2 : 6);
  input.frameCount = 1;
  return session.ProcessFrame(input);
}
