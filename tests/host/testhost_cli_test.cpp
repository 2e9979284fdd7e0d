// The command line of quorlin_host, the settings record it hands to the plug-in and the check
// of method and kernel names.
#include <gtest/gtest.h>

#include "HostCommandLine.h"
#include "OfferedNames.h"
#include "SettingsRecord.h"

using namespace quorlin_host;

TEST(CommandLine, ReadsEveryOption) {
  const HostCommand command = ParseCommandLine(
      {"--auf", "x.auf", "--yuy2", "--threads", "3", "--max", "4000x3000", "--size", "1280x720",
       "--luma", "Lanczos3", "--chroma", "AreaAverage", "--luma-param", "-5", "--chroma-param",
       "70000", "--kernel", "SSE2", "--frames", "7", "--save", "in.y4m", "-o", "-"});
  EXPECT_EQ(command.aufPath, "x.auf");
  EXPECT_TRUE(command.yuy2);
  EXPECT_EQ(command.threads, 3);
  EXPECT_EQ(command.maxWidth, 4000);
  EXPECT_EQ(command.maxHeight, 3000);
  EXPECT_EQ(*command.settings.width, 1280);
  EXPECT_EQ(*command.settings.height, 720);
  EXPECT_EQ(*command.settings.lumaMode, "Lanczos3");
  EXPECT_EQ(*command.settings.chromaMode, "AreaAverage");
  EXPECT_EQ(*command.settings.lumaParam, -5);
  EXPECT_EQ(*command.settings.chromaParam, 70000);
  EXPECT_EQ(*command.settings.kernel, "SSE2");
  EXPECT_EQ(command.frames, 7);
  EXPECT_TRUE(command.save);
  EXPECT_EQ(command.inputPath, "in.y4m");
  EXPECT_EQ(command.outputPath, "-");
}

TEST(CommandLine, DefaultsLeaveTheSettingsAlone) {
  const HostCommand command = ParseCommandLine({});
  EXPECT_FALSE(command.settings.Any());
  EXPECT_TRUE(command.inputPath.empty());
  EXPECT_TRUE(command.outputPath.empty());
  EXPECT_EQ(ParseCommandLine({"-"}).inputPath, "-");
}

TEST(CommandLine, UnusableArgumentsAreRefused) {
  const std::vector<std::vector<std::string>> bad = {
      {"--size"}, {"--size", "1280"}, {"--size", "0x720"}, {"--size", "1280x"},
      {"--size", "1280x720x3"}, {"--max", "axb"}, {"--threads", "0"}, {"--threads", "2x"},
      {"--frames", "-1"}, {"--luma-param", "3000000000"}, {"--bogus"}, {"a.y4m", "b.y4m"},
      {"--luma", std::string(33, 'L')}, {"--kernel", std::string(40, 'K')}, {"-o"}};
  for (const auto &args : bad) EXPECT_THROW(ParseCommandLine(args), UsageError) << args[0];
}

TEST(SettingsRecord, ChangesOnlyTheGivenFields) {
  std::vector<uint8_t> record(kSettingsRecordSize, 0xEE);
  SettingsChanges changes;
  changes.width = 1280;
  changes.lumaMode = "Spline36";
  changes.chromaParam = -2;
  const std::vector<uint8_t> changed = ChangeSettings(record, changes);
  EXPECT_EQ(SettingsWidth(changed), 1280);
  EXPECT_EQ(changed[0], 0x00);
  EXPECT_EQ(changed[1], 0x05);  // little-endian
  EXPECT_EQ(SettingsHeight(changed), static_cast<int32_t>(0xEEEEEEEE));
  EXPECT_EQ(SettingsLumaMode(changed), "Spline36");
  EXPECT_EQ(changed[8 + 8], 0) << "the rest of the name field is cleared";
  EXPECT_EQ(changed[8 + 31], 0);
  EXPECT_EQ(changed[40], 0xEE) << "chroma name untouched";
  EXPECT_EQ(changed[108], 0xFE);
  EXPECT_EQ(changed[111], 0xFF);
  EXPECT_EQ(changed[104], 0xEE) << "luma parameter untouched";
}

TEST(SettingsRecord, NamesFillTheirThirtyTwoBytes) {
  std::vector<uint8_t> record(kSettingsRecordSize, 0);
  SettingsChanges changes;
  changes.kernel = std::string(32, 'K');
  changes.chromaMode = "ChromaName";
  const std::vector<uint8_t> changed = ChangeSettings(record, changes);
  EXPECT_EQ(SettingsKernel(changed), std::string(32, 'K')) << "no terminator needed";
  EXPECT_EQ(changed[104], 0) << "the luma parameter after it is untouched";
  EXPECT_EQ(SettingsChromaMode(changed), "ChromaName");

  changes.kernel = std::string(33, 'K');
  EXPECT_THROW(ChangeSettings(record, changes), std::invalid_argument);
  EXPECT_THROW(ChangeSettings(std::vector<uint8_t>(111), SettingsChanges{}),
               std::invalid_argument);
}

TEST(OfferedNames, UnknownNamesAreRefusedWithTheChoices) {
  OfferedNames offered;
  offered.methods = {"Spline36", "Lanczos3", "NearestNeighbor"};
  offered.kernels = {"Portable", "SSE2"};
  SettingsChanges changes;
  changes.lumaMode = "Lanczos3";
  changes.chromaMode = "NearestNeighbor";
  changes.kernel = "SSE2";
  EXPECT_NO_THROW(CheckOfferedNames(changes, offered));

  SettingsChanges misspelt = changes;
  misspelt.chromaMode = "spline36";  // names are compared byte for byte
  try {
    CheckOfferedNames(misspelt, offered);
    ADD_FAILURE() << "a misspelt chroma method was accepted";
  } catch (const std::runtime_error &e) {
    EXPECT_STREQ(e.what(), "unknown chroma method \"spline36\" "
                           "(offered: Spline36, Lanczos3, NearestNeighbor)");
  }
  misspelt = changes;
  misspelt.kernel = "AVX2";
  EXPECT_THROW(CheckOfferedNames(misspelt, offered), std::runtime_error);
}

TEST(OfferedNames, AnEmptyListChecksNothing) {
  SettingsChanges changes;
  changes.lumaMode = "Anything";
  changes.kernel = "Whatever";
  EXPECT_NO_THROW(CheckOfferedNames(changes, OfferedNames{}));
  const OfferedNames none = FindOfferedNames("Z:\\nonexistent\\DLL", false);
  EXPECT_TRUE(none.methods.empty()) << "no built-ins without window functions either";
  EXPECT_TRUE(none.kernels.empty());
}

TEST(OfferedNames, LibrariesAreLookedForInTheDllFolderBesideThePlugin) {
  EXPECT_EQ(PluginDirectoryOf("C:\\AviUtl\\Plugins\\Quorlin.auf"), "C:\\AviUtl\\Plugins\\DLL");
  EXPECT_EQ(PluginDirectoryOf("Z:/work/build/dist/Quorlin.auf"), "Z:/work/build/dist/DLL");
  EXPECT_EQ(PluginDirectoryOf("Quorlin.auf"), "DLL");
}
