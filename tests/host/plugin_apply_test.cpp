// How the settings record chooses the weight setter and the kernel, seen through the recording
// kernels (which routine ran, with which first coefficients) and the recording window functions
// (which Create calls were made with which parameter).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "harness/HostSession.h"
#include "PluginInstall.h"

namespace {

using quorlin_harness::HostSession;
using CreateSet = std::multiset<std::pair<int32_t, int32_t>>;

const char *const kKernels[] = {"RecordingKernelA.dll", "RecordingKernelB.dll"};

class ApplySettingsTest : public testing::Test {
 protected:
  void Start(bool yuy2 = false, const InstallLayout &layout = InstallLayout()) {
    install_ = std::make_unique<PluginInstall>(layout);
    session_ = std::make_unique<HostSession>(install_->Options(yuy2));
  }

  // Loads the settings as a project, then runs one 16 x 8 frame.
  void LoadAndRun(const ResizeSettings &settings) {
    ForgetLogs();
    ASSERT_TRUE(session_->LoadProject(ProjectBytes(settings)));
    ASSERT_TRUE(ProcessGreyFrame(*session_, 16, 8));
  }

  void ForgetLogs() {
    for (const char *kernel : kKernels) {
      if (KernelLogRecord *log = install_->KernelLog(kernel)) *log = KernelLogRecord{};
    }
    if (CreateLogRecord *log = install_->CreateLog()) log->Count = 0;
  }

  // The one kernel library whose routines ran, or "" when none or both ran.
  std::string KernelThatRan() const {
    std::string ran;
    for (const char *kernel : kKernels) {
      const KernelLogRecord *log = install_->KernelLog(kernel);
      int calls = 0;
      for (int32_t count : log->Calls) calls += count;
      if (calls > 0) ran += kernel;
    }
    return ran;
  }

  const KernelLogRecord &RanLog() const { return *install_->KernelLog(KernelThatRan()); }

  CreateSet Creates() const {
    CreateSet calls;
    const CreateLogRecord &log = *install_->CreateLog();
    for (int i = 0; i < log.Count; ++i) calls.insert({log.Calls[i].Function, log.Calls[i].Param});
    return calls;
  }

  std::unique_ptr<PluginInstall> install_;
  std::unique_ptr<HostSession> session_;
};

// Halving 16 columns: nearest neighbour takes one source column, area average both halves.
bool IsNearestNeighbourBlock(const KernelLogRecord &log) {
  return (log.HCoeffs[0] == 16384 && log.HCoeffs[1] == 0) || (log.HCoeffs[0] == 0 && log.HCoeffs[1] == 16384);
}
bool IsAreaAverageBlock(const KernelLogRecord &log) {
  return log.HCoeffs[0] == 8192 && log.HCoeffs[1] == 8192;
}

TEST_F(ApplySettingsTest, NearestNeighborOnEitherSideServesBothSides) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "NearestNeighbor", "Spline36"));
  EXPECT_EQ(RanLog().Calls[kResizeH], 1);
  EXPECT_TRUE(IsNearestNeighbourBlock(RanLog()));
  EXPECT_TRUE(Creates().empty());

  LoadAndRun(ProjectSettings(8, 8, "AreaAverage", "NearestNeighbor"));
  EXPECT_TRUE(IsNearestNeighbourBlock(RanLog()));
}

TEST_F(ApplySettingsTest, AreaAverageOnEitherSideServesBothSides) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "AreaAverage", 5, 5));
  EXPECT_EQ(RanLog().Calls[kResizeH], 1);
  EXPECT_TRUE(IsAreaAverageBlock(RanLog()));
  EXPECT_TRUE(Creates().empty());
}

TEST_F(ApplySettingsTest, OneFunctionWithEqualParametersSharesItsWeights) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3));
  EXPECT_EQ(RanLog().Calls[kResizeH], 1);
  EXPECT_EQ(Creates(), (CreateSet{{1, 3}}));
}

TEST_F(ApplySettingsTest, DifferentParametersOrFunctionsGetSeparateWeights) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 4));
  EXPECT_EQ(RanLog().Calls[kResizeHSep], 1);
  EXPECT_EQ(RanLog().Calls[kResizeH], 0);
  EXPECT_EQ(Creates(), (CreateSet{{1, 3}, {1, 4}}));

  LoadAndRun(ProjectSettings(8, 8, "Wide", "Lanczos", 9, 9));
  EXPECT_EQ(RanLog().Calls[kResizeHSep], 1);
  EXPECT_EQ(Creates(), (CreateSet{{3, 9}, {1, 9}}));
}

TEST_F(ApplySettingsTest, NegativeParametersReachTheFunctionSignExtended) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Signed", "Signed", -50, -50));
  EXPECT_EQ(Creates(), (CreateSet{{2, -50}}));
}

TEST_F(ApplySettingsTest, NamesNotInstalledFallBackToTheFirstFunctionWithItsDefault) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Bicubic", "spline36", 9, 9));
  EXPECT_EQ(RanLog().Calls[kResizeH], 1);  // both sides chose the same entry: shared weights
  EXPECT_EQ(Creates(), (CreateSet{{0, 0}}));
  const ResizeSettings kept = SettingsOf(session_->ExData());
  EXPECT_EQ(ReadNameField(kept.LumaMode), "Bicubic");
  EXPECT_EQ(kept.LumaParam, 9);
}

TEST_F(ApplySettingsTest, KernelByExactNameOrTheFirstListed) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3, ""));
  const std::string first = KernelThatRan();
  ASSERT_FALSE(first.empty());
  const bool aIsFirst = first == kKernels[0];
  const std::string other = aIsFirst ? kKernels[1] : kKernels[0];
  const std::string otherName = aIsFirst ? "KernelB" : "KernelA";
  const std::string otherLowerCase = aIsFirst ? "kernelb" : "kernela";

  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3, otherName));
  EXPECT_EQ(KernelThatRan(), other);
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3, otherLowerCase));
  EXPECT_EQ(KernelThatRan(), first);
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3, "Uninstalled"));
  EXPECT_EQ(KernelThatRan(), first);
  EXPECT_EQ(ReadNameField(SettingsOf(session_->ExData()).SIMDMode), "Uninstalled");
}

TEST_F(ApplySettingsTest, YUY2ModeUsesWindowFunctionsForBuiltInNamesToo) {
  Start(true);
  LoadAndRun(ProjectSettings(8, 8, "NearestNeighbor", "Lanczos", 0, 5));
  EXPECT_EQ(RanLog().Calls[kResizeHSep], 1);
  EXPECT_EQ(Creates(), (CreateSet{{0, 0}, {1, 5}}));
}

TEST_F(ApplySettingsTest, WithoutWindowFunctionsFramesPassUnchanged) {
  InstallLayout layout;
  layout.windowFuncs = false;
  Start(false, layout);
  LoadAndRun(ProjectSettings(8, 8, "NearestNeighbor", "NearestNeighbor"));
  EXPECT_EQ(session_->Output().width, 16);
  EXPECT_EQ(KernelThatRan(), "");
}

TEST_F(ApplySettingsTest, WithoutKernelsFramesPassUnchanged) {
  InstallLayout layout;
  layout.kernels = false;
  Start(false, layout);
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3));
  EXPECT_EQ(session_->Output().width, 16);
  EXPECT_EQ(install_->CreateLog()->Count, 0);
}

TEST_F(ApplySettingsTest, ProjectLoadChangesTheTargetSize) {
  Start();
  LoadAndRun(ProjectSettings(8, 4, "Lanczos", "Lanczos", 3, 3));
  EXPECT_EQ(RanLog().Calls[kResizeHV], 1);
  EXPECT_EQ(session_->Output().width, 8);
  EXPECT_EQ(session_->Output().height, 4);
  LoadAndRun(ProjectSettings(16, 4, "Lanczos", "Lanczos", 3, 3));
  EXPECT_EQ(RanLog().Calls[kResizeV], 1);
  EXPECT_EQ(session_->Output().width, 16);
  EXPECT_EQ(session_->Output().height, 4);
}

TEST_F(ApplySettingsTest, ParametersOutsideTheRangeTakeTheRememberedOnes) {
  Start();
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 6, 20));
  ResizeSettings checked = SettingsOf(session_->ExData());
  EXPECT_EQ(checked.LumaParam, 6);
  EXPECT_EQ(checked.ChromaParam, 3);  // 20 is outside 1..10: the remembered default
  EXPECT_EQ(Creates(), (CreateSet{{1, 6}, {1, 3}}));

  // A valid value is remembered for its function and side, and replaces later invalid ones.
  LoadAndRun(ProjectSettings(8, 8, "Lanczos", "Lanczos", 65542, 0));
  checked = SettingsOf(session_->ExData());
  EXPECT_EQ(checked.LumaParam, 6);
  EXPECT_EQ(checked.ChromaParam, 3);

  LoadAndRun(ProjectSettings(8, 8, "NearestNeighbor", "Lanczos", 999, 7));
  checked = SettingsOf(session_->ExData());
  EXPECT_EQ(checked.LumaParam, 999);  // built-in method: left alone
  EXPECT_EQ(checked.ChromaParam, 7);

  session_.reset();
  EXPECT_EQ(install_->ReadSetting("Quorlin", "Func_Lanczos"), "1,6,7");
}

// A record's name field holds 32 bytes; a longer name is stored as its first 32 bytes, which
// name the function or kernel whose name they begin: for the choice, for the range check and
// for the kernel. No name equal to them is listed.
TEST(LongNames, AFullNameFieldNamesTheFunctionOrKernelWhoseNameItBegins) {
  InstallLayout layout;
  layout.windowFuncs = false;
  layout.extraLibraries = {"LongNameWindowFuncs.dll", "RecordingKernelLong.dll"};
  PluginInstall install(layout);
  HostSession session(install.Options());
  const std::string suffix = ", under a name longer than a settings record holds";
  CreateLogRecord &log = *install.CreateLog("LongNameWindowFuncs.dll");
  log.Count = 0;  // forget the start-up's own update
  // Signed's range is -100..100: -500 takes its remembered default -7.
  ASSERT_TRUE(session.LoadProject(ProjectBytes(
      ProjectSettings(8, 8, "Signed" + suffix, "Wide" + suffix, -500, 500, "KernelLong" + suffix))));
  ASSERT_TRUE(ProcessGreyFrame(session, 16, 8));
  ASSERT_EQ(log.Count, 2);
  EXPECT_EQ(CreateSet({{log.Calls[0].Function, log.Calls[0].Param}, {log.Calls[1].Function, log.Calls[1].Param}}),
            (CreateSet{{2, -7}, {3, 500}}));
  EXPECT_EQ(install.KernelLog("RecordingKernelLong.dll")->Calls[kResizeHSep], 1);
}

}  // namespace
