// The command line of quorlin_resizer, the settings it resolves against an installation and hands
// to the plug-in as a settings record, and its progress line.
#include <gtest/gtest.h>

#include "resizer/CommandLine.h"
#include "resizer/Progress.h"
#include "resizer/RunSettings.h"
#include "resizer/SettingsRecord.h"
#include "video-io/Y4mReader.h"

using namespace quorlin_resizer;

TEST(CommandLine, ReadsEveryOption) {
  const ResizerCommand command = ParseCommandLine(
      {"--auf", "x.auf", "--yuy2", "--threads", "3", "--max", "4000x3000", "--size", "1280x720",
       "--luma", "Lanczos3", "--chroma", "AreaAverage", "--luma-param", "-5", "--chroma-param",
       "70000", "--kernel", "SSE2", "--frames", "7", "--save", "--remember", "--quiet", "in.y4m",
       "-o", "-"});
  EXPECT_EQ(command.aufPath, "x.auf");
  EXPECT_TRUE(command.yuy2);
  EXPECT_EQ(command.threads, 3);
  EXPECT_EQ(command.maxWidth, 4000);
  EXPECT_EQ(command.maxHeight, 3000);
  EXPECT_EQ(command.size->width, 1280);
  EXPECT_EQ(command.size->height, 720);
  EXPECT_EQ(*command.settings.lumaMode, "Lanczos3");
  EXPECT_EQ(*command.settings.chromaMode, "AreaAverage");
  EXPECT_EQ(*command.lumaParam, "-5");
  EXPECT_EQ(*command.chromaParam, "70000");
  EXPECT_EQ(*command.settings.kernel, "SSE2");
  EXPECT_EQ(command.frames, 7);
  EXPECT_TRUE(command.save);
  EXPECT_TRUE(command.remember);
  EXPECT_TRUE(command.quiet);
  EXPECT_EQ(command.inputPath, "in.y4m");
  EXPECT_EQ(command.outputPath, "-");
}

TEST(CommandLine, DefaultsLeaveTheSettingsAlone) {
  const ResizerCommand command = ParseCommandLine({});
  EXPECT_FALSE(command.settings.Any());
  EXPECT_TRUE(command.inputPath.empty());
  EXPECT_TRUE(command.outputPath.empty());
  EXPECT_EQ(ParseCommandLine({"-"}).inputPath, "-");
}

TEST(CommandLine, UnusableArgumentsAreRefused) {
  const std::vector<std::vector<std::string>> bad = {
      {"--size"}, {"--size", "1280"}, {"--size", "0x720"}, {"--size", "1280x"},
      {"--size", "1280x720x3"}, {"--max", "axb"}, {"--threads", "0"}, {"--threads", "2x"},
      {"--frames", "-1"}, {"--bogus"}, {"a.y4m", "b.y4m"},
      {"--luma", std::string(33, 'L')}, {"--kernel", std::string(40, 'K')}, {"-o"},
      {"-y", "-n"}, {"-n", "-y"}, {"--pix-fmt", "yuv411p"}, {"--pix-fmt", "YUV420P"},
      {"--size", "-1x-2"}, {"--size", "-3x100"}, {"--size", "100x-0"}, {"--max", "-1x100"}};
  for (const auto &args : bad) EXPECT_THROW(ParseCommandLine(args), UsageError) << args[0];
}

TEST(CommandLine, RepeatedOptionsTakeTheirLastValue) {
  const ResizerCommand command =
      ParseCommandLine({"--size", "100x100", "--size", "640x-2", "--luma", "A", "--luma", "B",
                        "--pix-fmt", "yuv422p", "--pix-fmt", "yuv420p", "-o", "a", "-o", "b"});
  EXPECT_EQ(command.size->width, 640);
  EXPECT_EQ(command.size->height, kEvenSideFromShape);
  EXPECT_EQ(*command.settings.lumaMode, "B");
  EXPECT_EQ(command.outputChroma, ChromaFormat::C420);
  EXPECT_EQ(command.outputPath, "b");
  EXPECT_TRUE(ParseCommandLine({"-y", "-y"}).overwrite);
  EXPECT_FALSE(ParseCommandLine({"-n"}).overwrite);
  EXPECT_TRUE(ParseCommandLine({"--version"}).version);
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


namespace {

// An installation like the shipped one, YC48 mode.
Installation Shipped() {
  Installation installation;
  installation.methods = {{"Spline16"},
                          {"Spline36"},
                          {"Lanczos", true, 2, 8, 3},
                          {"Bicubic", true, 0, 200, 50},
                          {"NearestNeighbor", false, 0, 0, 0, true},
                          {"AreaAverage", false, 0, 0, 0, true}};
  installation.kernels = {"AVX2", "SSE2", "Portable"};
  return installation;
}

// A 4:3 input of square samples, the shape of the record's default size.
const Y4mHeader kFourByThree = ParseY4mHeader("YUV4MPEG2 W1024 H768 A1:1");

RunSettings Resolve(const std::vector<std::string> &args,
                    const Installation &installation = Shipped(),
                    const Y4mHeader &input = kFourByThree) {
  return ResolveRunSettings(ParseCommandLine(args), installation, input);
}

std::string Resolved(const std::vector<std::string> &args,
                     const Installation &installation = Shipped()) {
  return DescribeRunSettings(Resolve(args, installation));
}

// The message of the UsageError that resolving `args` throws.
std::string Refusal(const std::vector<std::string> &args,
                    const Installation &installation = Shipped()) {
  try {
    Resolve(args, installation);
  } catch (const UsageError &e) {
    return e.what();
  }
  return "<accepted>";
}

}  // namespace

TEST(RunSettings, WhatIsNotGivenComesFromTheInstallationAndTheFunctionDefaults) {
  Installation installation = Shipped();
  EXPECT_EQ(Resolved({}), "512x384, luma Spline36, chroma Spline36, kernel AVX2");
  installation.firstSize = FrameSize{1280, 720};
  EXPECT_EQ(Resolved({}, installation), "1280x720, luma Spline36, chroma Spline36, kernel AVX2");
  EXPECT_EQ(Resolved({"--size", "640x360", "--kernel", "SSE2"}, installation),
            "640x360, luma Spline36, chroma Spline36, kernel SSE2");
  EXPECT_EQ(Resolved({"--luma", "Bicubic"}),
            "512x384, luma Bicubic 50, chroma Bicubic 50, kernel AVX2");
  EXPECT_EQ(Resolved({"--luma", "Lanczos", "--luma-param", "4"}),
            "512x384, luma Lanczos 4, chroma Lanczos 4, kernel AVX2");
  EXPECT_EQ(Resolved({"--luma", "Lanczos", "--chroma-param", "2"}),
            "512x384, luma Lanczos 3, chroma Lanczos 2, kernel AVX2");
  EXPECT_EQ(Resolved({"--luma", "Lanczos", "--chroma", "Bicubic"}),
            "512x384, luma Lanczos 3, chroma Bicubic 50, kernel AVX2");
  installation.methods.erase(installation.methods.begin() + 1);  // Spline36 switched off
  EXPECT_EQ(Resolved({}, installation), "1280x720, luma Spline16, chroma Spline16, kernel AVX2");
}

TEST(RunSettings, BuiltInMethodsRunOnBothPlanesAndSaySo) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--luma", "NearestNeighbor"}, "NearestNeighbor"},
      {{"--luma", "NearestNeighbor", "--chroma", "Lanczos"}, "NearestNeighbor"},
      {{"--luma", "Lanczos", "--chroma", "AreaAverage"}, "AreaAverage"},
      {{"--luma", "AreaAverage", "--chroma", "NearestNeighbor"}, "NearestNeighbor"}};
  for (const auto &[args, method] : cases) {
    const RunSettings settings = Resolve(args);
    EXPECT_EQ(DescribeRunSettings(settings),
              "512x384, luma " + method + ", chroma " + method + ", kernel AVX2");
    // A warning exactly when the command line named a different method for a plane.
    EXPECT_EQ(settings.warnings.size(), args.size() == 4 ? 1u : 0u) << args[1];
  }
  const RunSettings mixed = Resolve({"--luma", "NearestNeighbor", "--chroma", "Lanczos"});
  EXPECT_EQ(mixed.warnings.at(0),
            "NearestNeighbor applies to luma and chroma alike; --chroma Lanczos is not used");
}

TEST(RunSettings, NamesAndParametersTheInstallationDoesNotOfferAreRefused) {
  EXPECT_EQ(Refusal({"--luma", "Lanczos", "--luma-param", "99"}),
            "--luma-param 99 is outside Lanczos's range 2..8");
  EXPECT_EQ(Refusal({"--luma", "Lanczos", "--chroma", "Bicubic", "--chroma-param", "-1"}),
            "--chroma-param -1 is outside Bicubic's range 0..200");
  EXPECT_EQ(Refusal({"--luma-param", "0"}), "--luma-param: Spline36 takes no parameter");
  EXPECT_EQ(Refusal({"--luma", "Lanczos", "--luma-param", "2.5"}),
            "--luma-param \"2.5\" is not a whole number in Lanczos's range 2..8");
  EXPECT_EQ(Refusal({"--luma", "Bicubic", "--chroma-param", "3000000000"}),
            "--chroma-param 3000000000 is outside Bicubic's range 0..200");
  EXPECT_EQ(Refusal({"--luma", "NearestNeighbor", "--chroma-param", "3"}),
            "--chroma-param: NearestNeighbor takes no parameter");
  EXPECT_EQ(Refusal({"--chroma", "spline36"}),
            "--chroma \"spline36\" is not offered (offered: Spline16, Spline36, Lanczos, Bicubic, "
            "NearestNeighbor, AreaAverage)");
  EXPECT_EQ(Refusal({"--kernel", "AVX512"}),
            "--kernel \"AVX512\" is not offered (offered: AVX2, SSE2, Portable)");
  Installation yuy2 = Shipped();
  yuy2.methods.resize(4);  // no built-in methods for YUY2 frames
  EXPECT_NE(Refusal({"--luma", "AreaAverage"}, yuy2).find("is not offered"), std::string::npos);
  EXPECT_EQ(Refusal({"--luma", "Lanczos", "--luma-param", "8", "--chroma-param", "2"}),
            "<accepted>");
}

TEST(RunSettings, ADefaultSizeOfAnotherShapeIsNamedWithTheSizeThatKeepsIt) {
  const Y4mHeader fullHd = ParseY4mHeader("YUV4MPEG2 W1920 H1080 A1:1");
  const RunSettings squashed = Resolve({}, Shipped(), fullHd);
  ASSERT_EQ(squashed.warnings.size(), 1u);
  EXPECT_NE(squashed.warnings[0].find("--size 512x-2"), std::string::npos) << squashed.warnings[0];
  EXPECT_TRUE(Resolve({"--size", "512x384"}, Shipped(), fullHd).warnings.empty())
      << "a size the user gave is what the user wants";
  EXPECT_EQ(Resolved({"--size", "512x-2"}).substr(0, 7), "512x384");
}

TEST(RunSettings, AnInstallationWithoutLibrariesPassesFramesThrough) {
  Installation empty;
  empty.firstSize = FrameSize{320, 240};
  EXPECT_EQ(Resolved({"--luma", "Anything"}, empty),
            "320x240, frames pass unchanged (nothing installed)");
}

TEST(RunSettings, TheRecordCarriesEveryResolvedField) {
  const RunSettings settings =
      Resolve({"--size", "1280x720", "--luma", "Lanczos", "--luma-param", "5", "--chroma",
               "Bicubic", "--kernel", "SSE2"});
  const std::vector<uint8_t> record = SettingsRecordOf(settings);
  EXPECT_EQ(SettingsWidth(record), 1280);
  EXPECT_EQ(SettingsHeight(record), 720);
  EXPECT_EQ(SettingsLumaMode(record), "Lanczos");
  EXPECT_EQ(SettingsChromaMode(record), "Bicubic");
  EXPECT_EQ(SettingsKernel(record), "SSE2");
  EXPECT_EQ(record[104], 5);
  EXPECT_EQ(record[108], 50);
}

TEST(Installation, TheFirstWellFormedSizeOfTheListIsTheDefault) {
  EXPECT_EQ(FirstSizeOf("1280x720,640x480")->width, 1280);
  EXPECT_EQ(FirstSizeOf("wide, 0x480 , 800x600")->height, 600);
  EXPECT_FALSE(FirstSizeOf(""));
  EXPECT_FALSE(FirstSizeOf("x,-5x5"));
}

TEST(Progress, LineShowsRateAndWhatIsLeftWhenTheTotalIsKnown) {
  EXPECT_EQ(FormatProgress({120, 300, 2.0}), "frame 120/300   40%  60.0 fps  left 0:03");
  EXPECT_EQ(FormatProgress({120, -1, 2.0}), "frame 120  60.0 fps");
  EXPECT_EQ(FormatProgress({0, 300, 0.0}), "frame 0/300    0%  0.0 fps");
  EXPECT_EQ(FormatProgress({300, 300, 10.0}), "frame 300/300  100%  30.0 fps");
  EXPECT_EQ(FormatProgress({1, 200000, 1.0}), "frame 1/200000    0%  1.0 fps  left 55:33:19");
}

TEST(Progress, FrameCountOfAFileFollowsFromItsSize) {
  const long long frame = 1920LL * 1080 * 3 / 2;
  EXPECT_EQ(EstimateY4mFrames(50 + 300 * (frame + 6), 50, frame), 300);
  EXPECT_EQ(EstimateY4mFrames(50, 50, frame), 0);
  EXPECT_EQ(EstimateY4mFrames(-1, 50, frame), -1);  // size unknown
}
