// What the command line finds in an installation of the built Quorlin.auf, and that a run
// leaves the installation's settings file as it found it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "harness/HostSession.h"
#include "resizer/Installation.h"
#include "PluginInstall.h"
#include "resizer/RunSettings.h"
#include "resizer/SettingsFileGuard.h"
#include "video-io/Y4mReader.h"

using namespace quorlin_harness;
using namespace quorlin_resizer;

namespace {

std::string FileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

TEST(Installation, OffersTheEnabledFunctionsTheKernelsAndTheFirstSize) {
  InstallLayout layout;
  layout.pluginFolder = "Libraries";
  PluginInstall install(layout);
  install.WriteSetting("Quorlin", "PluginDir", "Libraries");
  install.WriteSetting("Quorlin", "Func_Lanczos", "0,3,3");
  install.WriteSetting("Quorlin", "SizeList", "1280x720,640x480");
  install.WriteSetting("Quorlin", "YUY2SizeList", "720x480");

  const Installation yc48 = ReadInstallation(install.ModulePath(), false);
  EXPECT_EQ(yc48.MethodNames(), "Spline36, Signed, Wide, NearestNeighbor, AreaAverage");
  EXPECT_EQ(yc48.KernelNames(), "KernelA, KernelB");
  EXPECT_EQ(yc48.firstSize->width, 1280);
  const MethodInfo &signedMethod = *yc48.FindMethod("Signed");
  EXPECT_TRUE(signedMethod.hasParam);
  EXPECT_EQ(signedMethod.paramMin, -100);
  EXPECT_EQ(signedMethod.paramDefault, -7);
  EXPECT_FALSE(yc48.FindMethod("Spline36")->hasParam);

  const Installation yuy2 = ReadInstallation(install.ModulePath(), true);
  EXPECT_EQ(yuy2.MethodNames(), "Spline36, Signed, Wide");
  EXPECT_EQ(yuy2.firstSize->width, 720);
}

TEST(SettingsFileGuard, ARunLeavesTheSettingsFileAsItWas) {
  PluginInstall install;
  install.WriteSetting("Quorlin", "Func_Lanczos", "1,5,6");
  const std::string before = FileBytes(install.SettingsPath());
  const Installation installation = ReadInstallation(install.ModulePath(), false);
  const ResizerCommand command = ParseCommandLine({"--luma", "Lanczos", "--luma-param", "9"});
  const Y4mHeader input = ParseY4mHeader("YUV4MPEG2 W1024 H768");
  {
    SettingsFileGuard guard(install.SettingsPath());
    HostSession session(install.Options());
    session.LoadProject(SettingsRecordOf(ResolveRunSettings(command, installation, input)));
  }
  EXPECT_EQ(FileBytes(install.SettingsPath()), before);

  {  // without the guard the plug-in remembers the parameter, as in the editor
    HostSession session(install.Options());
    session.LoadProject(SettingsRecordOf(ResolveRunSettings(command, installation, input)));
  }
  EXPECT_EQ(install.ReadSetting("Quorlin", "Func_Lanczos"), "1,9,9");

  DeleteFileA(install.SettingsPath().c_str());
  {
    SettingsFileGuard guard(install.SettingsPath());
    HostSession session(install.Options());
  }
  EXPECT_EQ(GetFileAttributesA(install.SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES)
      << "a file the run created is removed again";
}
