// The rules of the settings record and the settings file that need no host: Func_ entries,
// parameter validation, name fields, the title cut, module names and the save title.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "host/FrameTimer.h"
#include "host/FuncEntry.h"
#include "host/ModulePath.h"
#include "host/ParameterValidation.h"
#include "host/ResizeSettings.h"
#include "host/SettingsFile.h"
#include "host/TitleText.h"

namespace {

WindowFuncInfo Function(const char *name, int16_t min, int16_t max, int16_t def) {
  WindowFuncInfo info{};
  info.Name = name;
  info.ParamMin = min;
  info.ParamMax = max;
  info.ParamDefault = def;
  return info;
}

const WindowFuncInfo kLanczos = Function("Lanczos", 1, 10, 3);
const WindowFuncInfo kWide = Function("Wide", INT16_MIN, INT16_MAX, 100);

void ExpectEntry(const std::string &value, bool enabled, int16_t luma, int16_t chroma,
                 const WindowFuncInfo &info = kLanczos) {
  const FuncEntry entry = ParseFuncEntry(value, info);
  EXPECT_EQ(entry.Enabled, enabled) << value;
  if (!enabled) return;
  EXPECT_EQ(entry.Params.Luma, luma) << value;
  EXPECT_EQ(entry.Params.Chroma, chroma) << value;
}

TEST(FuncEntry, ThreeItemsGiveEnabledFlagAndBothParameters) {
  ExpectEntry("1,5,7", true, 5, 7);
  ExpectEntry("1, 5, 7", true, 5, 7);
  ExpectEntry("1 5 7", true, 5, 7);
  ExpectEntry("on,5,7", true, 5, 7);  // a first item that is no number counts as 1
  ExpectEntry("$1,x5,0x7", true, 5, 7);
}

TEST(FuncEntry, OnlyAFirstNumberOtherThanOneDisables) {
  ExpectEntry("0,0,0", false, 0, 0);
  ExpectEntry("2,5,7", false, 0, 0);
  ExpectEntry("-1,5,7", false, 0, 0);
}

TEST(FuncEntry, OtherItemCountsKeepTheFunctionWithDefaults) {
  for (const char *value : {"", "1", "1,5", "1,5,7,", "1,5,7,9", "0,5", "0,5,7,9"})
    ExpectEntry(value, true, 3, 3);
}

TEST(FuncEntry, ParameterThatIsNoNumberTakesTheDefault) {
  ExpectEntry("1,x,7", true, 3, 7);
  ExpectEntry("1,5,", true, 5, 3);  // the trailing comma adds an empty third item
  ExpectEntry("1,\"\",7", true, 3, 7);
}

TEST(FuncEntry, ParametersKeepTheirLow16Bits) {
  ExpectEntry("1,70000,-70000", true, 4464, -4464, kWide);
  ExpectEntry("1,-32768,32767", true, -32768, 32767, kWide);
  ExpectEntry("1,$FFFF,65535", true, -1, -1, kWide);
}

TEST(FuncEntry, RememberedParameterOutsideTheRangeBecomesTheDefault) {
  ExpectEntry("1,11,0", true, 3, 3);
  ExpectEntry("1,1,10", true, 1, 10);
  ExpectEntry("1,65537,7", true, 1, 7);  // low 16 bits 1 lie inside the range
  const WindowFuncInfo negative = Function("Negative", -100, -10, -50);
  ExpectEntry("1,-100,-9", true, -100, -50, negative);
}

TEST(FuncEntry, WrittenBackAsEnabledWithSignedParameters) {
  EXPECT_EQ(FormatFuncEntry(FuncParamPair{5, 7}), "1,5,7");
  EXPECT_EQ(FormatFuncEntry(FuncParamPair{-32768, -1}), "1,-32768,-1");
  EXPECT_EQ(FuncEntryKey(kLanczos), "Func_Lanczos");
  const FuncEntry back = ParseFuncEntry(FormatFuncEntry(FuncParamPair{-7, 9}), kWide);
  EXPECT_EQ(back.Params.Luma, -7);
  EXPECT_EQ(back.Params.Chroma, 9);
}

// A key that would start a line or a section, hold an "=" or lose a blank does not read back.
// The trailing byte of "ー" (0x81 0x5B) has the code of "[" and is part of the character.
TEST(FuncEntry, OnlyNamesThatReadBackAsKeysHaveAnEntry) {
  for (const char *name : {"Lanczos", "Spline 36", "", "σ×100", "シャープ", "表示", "a;b"})
    EXPECT_TRUE(HasFuncEntryKey(Function(name, 0, 0, 0))) << name;
  for (const char *name : {"Bad=Name", "Line\r\nBreak", "Line\nBreak", "Tab\tTab", "[Section]",
                           "Open[", "Close]", "Trailing ", "Bell\x07"})
    EXPECT_FALSE(HasFuncEntryKey(Function(name, 0, 0, 0))) << name;
}

TEST(ValidateParameter, InsideTheRangeIsRemembered) {
  for (int32_t value : {1, 6, 10}) {
    int32_t param = value;
    int16_t remembered = 3;
    ValidateParameter(kLanczos, param, remembered);
    EXPECT_EQ(param, value);
    EXPECT_EQ(remembered, value);
  }
}

TEST(ValidateParameter, OutsideTheRangeTakesTheRememberedValue) {
  // The full 32-bit value is compared: 65537 is outside although its low 16 bits are 1.
  for (int32_t value : {0, 11, -1, 65537, INT32_MIN}) {
    int32_t param = value;
    int16_t remembered = 4;
    ValidateParameter(kLanczos, param, remembered);
    EXPECT_EQ(param, 4) << value;
    EXPECT_EQ(remembered, 4) << value;
  }
  const WindowFuncInfo negative = Function("Negative", -100, -10, -50);
  int32_t param = 0;
  int16_t remembered = -60;
  ValidateParameter(negative, param, remembered);
  EXPECT_EQ(param, -60);  // sign-extended
}

TEST(ResizeSettingsRecord, DefaultsAndNameFields) {
  const ResizeSettings settings = DefaultResizeSettings();
  EXPECT_EQ(settings.Width, 512);
  EXPECT_EQ(settings.Height, 384);
  EXPECT_EQ(ReadNameField(settings.LumaMode), "Spline36");
  EXPECT_EQ(ReadNameField(settings.ChromaMode), "Spline36");
  EXPECT_EQ(ReadNameField(settings.SIMDMode), "");
  EXPECT_EQ(settings.LumaParam, 0);
  EXPECT_EQ(settings.ChromaParam, 0);
  EXPECT_EQ(TargetSizeOf(settings)->Width, 512);
  EXPECT_EQ(TargetSizeOf(settings)->Height, 384);
}

TEST(ResizeSettingsRecord, NameFieldOfAll32BytesHasNoTerminator) {
  ResizeSettings settings = DefaultResizeSettings();
  const std::string name32(32, 'N');
  StoreNameField(name32 + "overflow", settings.SIMDMode);
  EXPECT_EQ(ReadNameField(settings.SIMDMode), name32);
  EXPECT_EQ(settings.LumaParam, 0);  // the next field is untouched
  StoreNameField("ab", settings.SIMDMode);
  EXPECT_EQ(ReadNameField(settings.SIMDMode), "ab");
  for (size_t i = 2; i < kNameFieldSize; ++i) EXPECT_EQ(settings.SIMDMode[i], '\0');
}

TEST(TitleText, CutKeepsDoubleByteCharactersWhole) {
  const std::string ka = "\x83\x4A";  // "カ" in code page 932
  EXPECT_EQ(CutAtCharBoundary(std::string(70, 'a'), 64), std::string(64, 'a'));
  EXPECT_EQ(CutAtCharBoundary(std::string(63, 'a') + ka, 64), std::string(63, 'a'));
  EXPECT_EQ(CutAtCharBoundary(std::string(62, 'a') + ka + "b", 64), std::string(62, 'a') + ka);
  std::string allWide;
  for (int i = 0; i < 40; ++i) allWide += ka;
  EXPECT_EQ(CutAtCharBoundary(allWide, 64).size(), 64u);
  EXPECT_EQ(CutAtCharBoundary("\xB6\xD9", 1), "\xB6");  // half-width katakana are single bytes
  EXPECT_EQ(CutAtCharBoundary("short", 64), "short");
}

TEST(ModulePath, SectionAndDirectoryComeFromTheModulePath) {
  EXPECT_EQ(DirectoryOf("C:\\AviUtl\\Plugins\\Quorlin.auf"), "C:\\AviUtl\\Plugins\\");
  EXPECT_EQ(BaseNameOf("C:\\AviUtl\\Plugins\\Quorlin.auf"), "Quorlin");
  EXPECT_EQ(BaseNameOf("C:\\AviUtl\\my.filter.auf"), "my.filter");
  EXPECT_EQ(BaseNameOf("C:\\a.b\\Other"), "Other");
  EXPECT_EQ(DirectoryOf("Quorlin.auf"), "");
}

TEST(FrameTimesTitle, ShortestAndAverageInMilliseconds) {
  TFrameTimer timer;
  timer.AddFrame(0.005);
  timer.AddFrame(0.007);
  EXPECT_EQ(FrameTimesTitle(timer, "."), "5.0000ms 6.0000ms");
  EXPECT_EQ(FrameTimesTitle(timer, ","), "5,0000ms 6,0000ms");
}

TEST(FrameTimesTitle, FramesOfTenSecondsAndMoreShowTheirTrueShortestTime) {
  TFrameTimer timer;
  timer.AddFrame(12.5);
  timer.AddFrame(11.0);
  EXPECT_EQ(FrameTimesTitle(timer, "."), "11000.0000ms 11750.0000ms");
}

TEST(FrameTimesTitle, SaveStartForgetsEarlierFrames) {
  TFrameTimer timer;
  timer.AddFrame(0.001);
  timer.Reset();
  EXPECT_EQ(timer.TimedFrames(), 0);
  timer.AddFrame(0.0025);
  EXPECT_EQ(FrameTimesTitle(timer, "."), "2.5000ms 2.5000ms");
}

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    directory_ = std::string(temp) + "quorlin_settings_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(directory_.c_str(), nullptr);
  }
  void TearDown() override {
    DeleteFileA((directory_ + "QuorlinEx.ini").c_str());
    RemoveDirectoryA(directory_.c_str());
  }
  std::string directory_;
};

TEST_F(SettingsFileTest, LongValuesComeBackWhole) {
  const TSettingsFile file(directory_, "Quorlin");
  EXPECT_EQ(file.Path(), directory_ + "QuorlinEx.ini");
  for (size_t length : {2046u, 2047u, 2048u, 5000u}) {
    std::string sizes;
    while (sizes.size() < length) sizes += "1920x1080,";
    sizes.resize(length);
    ASSERT_TRUE(file.Store("SizeList", sizes));
    EXPECT_EQ(file.Read("SizeList", "512x384"), sizes) << length;
  }
}

TEST_F(SettingsFileTest, MissingKeysSectionsAndFilesGiveTheFallback) {
  const TSettingsFile file(directory_, "Quorlin");
  EXPECT_EQ(file.Read("SizeList", "512x384"), "512x384");
  ASSERT_TRUE(file.Store("SizeList", "640x480"));
  EXPECT_EQ(TSettingsFile(directory_, "Other").Read("SizeList", "512x384"), "512x384");
  EXPECT_EQ(file.Read("PluginDir", "DLL"), "DLL");
  EXPECT_EQ(file.Read("SizeList", "512x384"), "640x480");
}

std::string FileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The system writes no value longer than 32766 bytes whole. A value the file holds already is
// not written at all, however long; one that cannot be written whole leaves the file as it was.
TEST_F(SettingsFileTest, StoreWritesOnlyChangesAndNothingItCannotWriteWhole) {
  const TSettingsFile file(directory_, "Quorlin");
  for (size_t length : {kMaxWrittenValueBytes + 1, size_t{70000}}) {
    SCOPED_TRACE(length);
    const std::string held(length, 'h');
    const std::string text = "[Quorlin]\r\nSizeList=" + held + "\r\n";
    WriteFileText(file.Path(), text);
    EXPECT_TRUE(file.Store("SizeList", held));
    EXPECT_FALSE(file.Store("SizeList", std::string(length, 'c')));
    EXPECT_FALSE(file.Store("PluginDir", std::string(length, 'c')));
    EXPECT_EQ(FileText(file.Path()), text);
  }
  const std::string longest(kMaxWrittenValueBytes, 'w');
  EXPECT_TRUE(file.Store("SizeList", longest));
  EXPECT_EQ(file.Read("SizeList", ""), longest);
}

}  // namespace
