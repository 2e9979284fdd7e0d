// Start-up, the plug-in table, the settings file's keys and their write-back at shut-down, with
// the built Quorlin.auf driven through the harness as the editor drives it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "harness/DebugOutput.h"
#include "harness/HostSession.h"
#include "PluginInstall.h"
#include "plugins/WindowFuncPlugin.h"

namespace {

using quorlin_harness::HostSession;

const std::string kOwnTitle = "カルメリオ";
const std::string kMissing = "<missing>";

using CreateSet = std::set<std::pair<int32_t, int32_t>>;

// The last `count` Create calls as (function, parameter) pairs.
CreateSet LastCreates(const CreateLogRecord &log, int count) {
  CreateSet calls;
  for (int i = log.Count - count; i < log.Count; ++i) {
    if (i >= 0) calls.insert({log.Calls[i].Function, log.Calls[i].Param});
  }
  return calls;
}

std::string Title(const HostSession &session) { return session.Filter().name; }

// The names in the export directory of a loaded module.
std::set<std::string> ExportedNames(HMODULE module) {
  const auto base = reinterpret_cast<const uint8_t *>(module);
  const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
  const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + directory.VirtualAddress);
  const auto names = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
  std::set<std::string> result;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) result.insert(reinterpret_cast<const char *>(base + names[i]));
  EXPECT_EQ(exports->NumberOfFunctions, exports->NumberOfNames);
  return result;
}

TEST(PluginTable, ExportsExactlyTheTwoUndecoratedEntries) {
  PluginInstall install;
  const HMODULE module = LoadLibraryA(install.ModulePath().c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(ExportedNames(module), (std::set<std::string>{"GetFilterTable", "GetFilterTableYUY2"}));
  FreeLibrary(module);
}

TEST(PluginTable, FieldsTheHostReads) {
  PluginInstall install;
  HostSession session(install.Options());
  const FILTER &table = session.Filter();
  EXPECT_EQ(table.flag, 0x44400);
  EXPECT_EQ(table.x, 288);
  EXPECT_EQ(table.y, 140);
  EXPECT_EQ(table.track_n, 0);
  EXPECT_EQ(table.check_n, 0);
  EXPECT_EQ(table.ex_data_size, 112);
  EXPECT_EQ(std::string(table.information), "カルメリオ(ベンチマーク用)");
  EXPECT_NE(table.func_proc, nullptr);
  EXPECT_NE(table.func_save_start, nullptr);
  EXPECT_NE(table.func_save_end, nullptr);
  EXPECT_EQ(table.ex_data_def, nullptr);
  EXPECT_EQ(table.func_project_load, nullptr);
  EXPECT_EQ(table.dll_path, nullptr);
  const ResizeSettings settings = SettingsOf(session.ExData());
  EXPECT_EQ(settings.Width, 512);
  EXPECT_EQ(settings.Height, 384);
  EXPECT_EQ(ReadNameField(settings.LumaMode), "Spline36");
}

TEST(StartUp, WithoutSettingsFileEveryDefaultApplies) {
  PluginInstall install;
  {
    HostSession session(install.Options());
    EXPECT_EQ(Title(session), kOwnTitle);
    // The default methods name the listed "Spline36", found in the folder DLL beside the module.
    const CreateLogRecord *log = install.CreateLog();
    ASSERT_NE(log, nullptr);
    ASSERT_EQ(log->Count, 1);
    EXPECT_EQ(log->Calls[0].Function, 0);
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "FilterName"), kOwnTitle);
  EXPECT_EQ(install.ReadSetting("Quorlin", "PluginDir"), "DLL");
  EXPECT_EQ(install.ReadSetting("Quorlin", "SizeList"), "512x384");
  EXPECT_EQ(install.ReadSetting("Quorlin", "YUY2SizeList"), kMissing);
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Spline36"), "1,0,0");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Lanczos"), "1,3,3");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Signed"), "1,-7,-7");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Wide"), "1,100,100");
}

TEST(StartUp, AnotherModuleNameUsesItsOwnSectionOfTheSameFile) {
  PluginInstall install(InstallLayout{"Other.auf"});
  install.WriteSetting("Quorlin", "FilterName", "NotMine");
  install.WriteSetting("Quorlin", "SizeList", "1x1");
  install.WriteSetting("Other", "SizeList", "640x480");
  {
    HostSession session(install.Options());
    EXPECT_EQ(Title(session), "Other");
  }
  EXPECT_EQ(install.ReadSetting("Other", "FilterName"), "Other");
  EXPECT_EQ(install.ReadSetting("Other", "SizeList"), "640x480");
  EXPECT_EQ(install.ReadSetting("Quorlin", "FilterName"), "NotMine");
  EXPECT_EQ(install.ReadSetting("Quorlin", "SizeList"), "1x1");
}

TEST(StartUp, ModuleNameDifferingOnlyInLetterCaseIsItsOwnTitle) {
  PluginInstall install(InstallLayout{"quorlin.auf"});
  HostSession session(install.Options());
  EXPECT_EQ(Title(session), "quorlin");
}

TEST(StartUp, FilterNameFromTheFileIsShownAndCutTo64Bytes) {
  PluginInstall install;
  install.WriteSetting("Quorlin", "FilterName", std::string(70, 'T'));
  {
    HostSession session(install.Options());
    EXPECT_EQ(Title(session), std::string(64, 'T'));
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "FilterName"), std::string(64, 'T'));
}

TEST(StartUp, TitleCutNeverSplitsADoubleByteCharacter) {
  PluginInstall install;
  install.WriteSetting("Quorlin", "FilterName", std::string(63, 'T') + "カルメリオ");
  {
    HostSession session(install.Options());
    EXPECT_EQ(Title(session), std::string(63, 'T'));
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "FilterName"), std::string(63, 'T'));
}

TEST(StartUp, PluginDirIsTakenRelativeToTheModule) {
  InstallLayout layout;
  layout.pluginFolder = "..\\shared";
  PluginInstall install(layout);
  install.WriteSetting("Quorlin", "PluginDir", "..\\shared");
  {
    HostSession session(install.Options());
    ASSERT_NE(install.CreateLog(), nullptr);
    EXPECT_EQ(install.CreateLog()->Count, 1);
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "PluginDir"), "..\\shared");
}

TEST(StartUp, MissingPluginFolderLeavesFramesUnchanged) {
  PluginInstall install;
  install.WriteSetting("Quorlin", "PluginDir", "Nowhere");
  {
    HostSession session(install.Options());
    EXPECT_EQ(install.CreateLog(), nullptr);
    ASSERT_TRUE(ProcessGreyFrame(session, 16, 8));
    EXPECT_EQ(session.Output().width, 16);
    EXPECT_EQ(session.Output().height, 8);
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Spline36"), kMissing);
}

TEST(StartUp, DisabledFunctionsInARowLeaveTheListAndKeepTheirEntries) {
  PluginInstall install;
  install.WriteSetting("Quorlin", "Func_Lanczos", "0,0,0");
  install.WriteSetting("Quorlin", "Func_Signed", "2,1,1");
  install.WriteSetting("Quorlin", "Func_Wide", "1,55,66");
  {
    HostSession session(install.Options());
    // "Wide" moved into the first disabled function's place and keeps its own parameters:
    // 40000 is outside its range and is replaced by its remembered 55.
    ASSERT_TRUE(session.LoadProject(ProjectBytes(ProjectSettings(512, 384, "Wide", "Lanczos", 40000, 5))));
    const ResizeSettings settings = SettingsOf(session.ExData());
    EXPECT_EQ(settings.LumaParam, 55);
    EXPECT_EQ(settings.ChromaParam, 5);  // "Lanczos" is not listed: nothing to check against
    // Luma: "Wide" with 55; chroma: the unknown name falls back to the first function.
    EXPECT_EQ(LastCreates(*install.CreateLog(), 2), (CreateSet{{3, 55}, {0, 0}}));
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Lanczos"), "0,0,0");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Signed"), "2,1,1");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Wide"), "1,55,66");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Spline36"), "1,0,0");
}

TEST(StartUp, FuncEntriesAreReadAndWrittenBackNormalised) {
  PluginInstall install;
  install.WriteSetting("Quorlin", "Func_Spline36", "0,0,0");
  install.WriteSetting("Quorlin", "Func_Lanczos", "1 5 7");
  install.WriteSetting("Quorlin", "Func_Signed", "on,-150,50");
  install.WriteSetting("Quorlin", "Func_Wide", "1,70000,x");
  {
    HostSession session(install.Options());
    // Spline36 is disabled, so the default method falls back to the first listed function.
    const CreateLogRecord *log = install.CreateLog();
    ASSERT_EQ(log->Count, 1);
    EXPECT_EQ(log->Calls[0].Function, 1);
    EXPECT_EQ(log->Calls[0].Param, 3);
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Spline36"), "0,0,0");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Lanczos"), "1,5,7");
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Signed"), "1,-7,50");  // -150 is outside -100..100
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Wide"), "1,4464,100");
}

std::string LongSizeList(size_t length) {
  std::string sizes;
  for (int width = 2; sizes.size() < length; width += 2) sizes += std::to_string(width) + "x1080,";
  sizes.resize(length);
  return sizes;
}

TEST(StartUp, SizeListsLongerThan2047BytesComeBackWhole) {
  PluginInstall install;
  const std::string sizes = LongSizeList(5000);
  install.WriteSetting("Quorlin", "SizeList", sizes);
  { HostSession session(install.Options()); }
  EXPECT_EQ(install.ReadSetting("Quorlin", "SizeList"), sizes);
}

TEST(StartUp, YUY2ModeUsesOnlyTheYUY2SizeList) {
  PluginInstall install;
  const std::string sizes = LongSizeList(3000);
  install.WriteSetting("Quorlin", "SizeList", "640x480");
  install.WriteSetting("Quorlin", "YUY2SizeList", sizes);
  { HostSession session(install.Options(true)); }
  EXPECT_EQ(install.ReadSetting("Quorlin", "YUY2SizeList"), sizes);
  EXPECT_EQ(install.ReadSetting("Quorlin", "SizeList"), "640x480");

  PluginInstall fresh;
  { HostSession session(fresh.Options(true)); }
  EXPECT_EQ(fresh.ReadSetting("Quorlin", "YUY2SizeList"), "512x384");
  EXPECT_EQ(fresh.ReadSetting("Quorlin", "SizeList"), kMissing);
}

// The file as a shut-down with the recording libraries writes it, with `sizeList` as SizeList
// (or YUY2SizeList) and `pluginDir` as PluginDir.
std::string WrittenFile(const std::string &sizeKey, const std::string &sizeList,
                        const std::string &pluginDir = "DLL") {
  return "[Quorlin]\r\nFilterName=" + kOwnTitle + "\r\nPluginDir=" + pluginDir +
         "\r\nFunc_Spline36=1,0,0\r\nFunc_Lanczos=1,3,3\r\nFunc_Signed=1,-7,-7\r\n"
         "Func_Wide=1,100,100\r\nFunc_Keyable=1,4,4\r\n" + sizeKey + "=" + sizeList + "\r\n";
}

// Every function of the shipped library gets its entry, with its defaults, in list order.
TEST(ShutDown, EveryShippedFunctionIsWrittenWithItsDefaults) {
  InstallLayout layout;
  layout.windowFuncs = false;
  layout.shippedWindowFuncs = true;
  PluginInstall install(layout);
  { HostSession session(install.Options()); }
  TWndFuncPluginList shipped;
  shipped.LoadPlugins(QUORLIN_DIST_DLL);
  ASSERT_GT(shipped.Count(), 8);
  std::string entries;
  for (int32_t i = 0; i < shipped.Count(); ++i) {
    const std::string param = std::to_string(shipped.Item(i)->ParamDefault);
    entries += "Func_" + std::string(shipped.Item(i)->Name) + "=1," + param + "," + param + "\r\n";
  }
  EXPECT_NE(install.SettingsFileText().find(entries), std::string::npos) << install.SettingsFileText();
}

// Values longer than the system can write whole (beyond 32766 bytes) that the plug-in read and
// did not change stay in the file exactly as the user wrote them, and the next start reads them
// whole. A PluginDir that long names no folder, so no function is listed or written.
TEST(ShutDown, LongValuesTheUserWroteStayInTheFileUnchanged) {
  InstallLayout layout;
  layout.extraLibraries = {"UnkeyableWindowFuncs.dll"};
  for (bool yuy2 : {false, true}) {
    const std::string key = yuy2 ? "YUY2SizeList" : "SizeList";
    for (size_t length : {size_t{32767}, size_t{70000}}) {
      SCOPED_TRACE(testing::Message() << key << " of " << length << " bytes");
      PluginInstall install(layout);
      const std::string text = WrittenFile(key, LongSizeList(length));
      install.WriteSettingsFileText(text);
      { HostSession session(install.Options(yuy2)); }
      EXPECT_EQ(install.SettingsFileText(), text);
    }
  }
  PluginInstall install(layout);
  const std::string longDir = "[Quorlin]\r\nFilterName=" + kOwnTitle + "\r\nPluginDir=DLL" +
                              std::string(40000, 'd') + "\r\nSizeList=640x480\r\n";
  install.WriteSettingsFileText(longDir);
  { HostSession session(install.Options()); }
  EXPECT_EQ(install.SettingsFileText(), longDir);
}

// Functions whose names cannot be keys (a line break, "=", "[", "]", a trailing blank) are
// offered without an entry: a shut-down adds nothing for them and changes nothing else.
TEST(ShutDown, FunctionsWhoseNamesCannotBeKeysGetNoEntry) {
  InstallLayout layout;
  layout.extraLibraries = {"UnkeyableWindowFuncs.dll"};
  PluginInstall install(layout);
  const std::string text = WrittenFile("SizeList", "640x480");
  install.WriteSettingsFileText(text);
  {
    HostSession session(install.Options());
    // The project's functions are listed: a parameter outside their range 1..9 is replaced by
    // the remembered one, which is their default 4 (an unlisted name would keep it).
    ASSERT_TRUE(session.LoadProject(ProjectBytes(ProjectSettings(8, 8, "Bad=Name", "Close]", 50, 2))));
    const ResizeSettings settings = SettingsOf(session.ExData());
    EXPECT_EQ(settings.LumaParam, 4);
    EXPECT_EQ(settings.ChromaParam, 2);
  }
  EXPECT_EQ(install.SettingsFileText(), text);
}

// A settings file that another program holds locked while the plug-in starts gives the plug-in
// only defaults. Writing those back would overwrite the user's sizes, re-enable a disabled
// function and forget every remembered parameter: shut-down leaves the file alone instead, and
// says so on the debug output.
TEST(ShutDown, AFileThatCouldNotBeReadAtStartUpIsLeftAlone) {
  PluginInstall install;
  const std::string text = "[Quorlin]\r\nFilterName=Mine\r\nSizeList=320x240,640x480\r\n"
                           "Func_Lanczos=0,0,0\r\nFunc_Wide=1,7,8\r\n";
  install.WriteSettingsFileText(text);
  quorlin_harness::DebugOutputCapture reports;
  {
    const HANDLE lock = CreateFileA(install.SettingsPath().c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    HostSession session(install.Options());
    CloseHandle(lock);
    EXPECT_EQ(Title(session), kOwnTitle);  // the defaults served this run
  }
  EXPECT_EQ(install.SettingsFileText(), text);
  const std::vector<std::string> lines = reports.Lines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string &line) {
              return line.find("could not be read at start-up") != std::string::npos;
            }), 1);
}

}  // namespace
