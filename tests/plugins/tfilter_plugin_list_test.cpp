#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "harness/DebugOutput.h"
#include "PluginCases.h"
#include "engine/TFilterPluginList.h"

namespace {

// The libraries of the kernel case that are kept in each mode; all others are released.
const std::set<std::string> kUsableInYC48 = {"kfast.dll", "kfastdup.dll", "kboth.dll"};
const std::set<std::string> kUsableInYUY2 = {"kboth.dll", "kpacked.dll"};

// Libraries whose record the engine could not use: divisions by zero or by a negative tile
// size or step, a missing routine or work-size function, no Name, no record.
const char *const kUnusable[] = {"kwidth0.dll",      "kwidthhuge.dll",    "kheight0.dll",
                                 "kvstep0.dll",      "kvstepneg.dll",     "knullroutine.dll",
                                 "knullworksize.dll", "knullname.dll",    "knullrecord.dll"};

std::vector<std::string> SourcesOf(const TFilterPluginList &list) {
  std::vector<std::string> sources;
  for (int32_t i = 0; i < list.Count(); ++i) sources.push_back(ModuleFileOf(list.Item(i)));
  return sources;
}

std::vector<std::string> ListedAmong(const std::set<std::string> &kept) {
  std::vector<std::string> files;
  for (const std::string &file : ListedDllNames(CaseDirectory("kernel_mixed"))) {
    if (kept.count(file) != 0) files.push_back(file);
  }
  return files;
}

class KernelListTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeUnloadLog(); }
};

TEST_F(KernelListTest, KeepsTheYC48KernelsInListingOrderAndReleasesTheRest) {
  TFilterPluginList list;
  list.LoadPlugins(CaseDirectory("kernel_mixed").c_str(), 0);
  EXPECT_EQ(SourcesOf(list), ListedAmong(kUsableInYC48));
  for (const std::string &file : kUsableInYC48) EXPECT_TRUE(IsLoaded(file)) << file;
  for (const char *file : kUnusable) EXPECT_FALSE(IsLoaded(file)) << file;
  EXPECT_FALSE(IsLoaded("kpacked.dll")) << "exports only the YUY2 name";
}

TEST_F(KernelListTest, YUY2ModeLooksUpTheYUY2Export) {
  TFilterPluginList list;
  list.LoadPlugins(CaseDirectory("kernel_mixed").c_str(), -1);
  EXPECT_EQ(SourcesOf(list), ListedAmong(kUsableInYUY2));
  EXPECT_FALSE(IsLoaded("kfast.dll"));
  EXPECT_EQ(list.IndexOfName("Fast"), -1);
  EXPECT_GE(list.IndexOfName("Packed"), 0);
}

TEST_F(KernelListTest, IndexOfNameIsExactCaseSensitiveAndFirstWins) {
  TFilterPluginList list;
  list.LoadPlugins(CaseDirectory("kernel_mixed").c_str(), 0);
  const std::vector<std::string> order = ListedAmong({"kfast.dll", "kfastdup.dll"});
  ASSERT_EQ(order.size(), 2u);
  const int32_t fast = list.IndexOfName("Fast");
  ASSERT_GE(fast, 0);
  EXPECT_EQ(ModuleFileOf(list.Item(fast)), order[0]);
  EXPECT_EQ(std::string(list.Item(list.IndexOfName("Both"))->Name), "Both");
  EXPECT_EQ(list.IndexOfName("fast"), -1);
  EXPECT_EQ(list.IndexOfName("FAST"), -1);
  EXPECT_EQ(list.IndexOfName("Fas"), -1);
  EXPECT_EQ(list.IndexOfName("Width0"), -1);
}

// A record in unreadable memory, or whose Name runs into unreadable memory or past 255 bytes,
// is not kept, and each is reported in one line of debug output.
TEST_F(KernelListTest, LeavesOutBrokenRecordsAndSaysWhy) {
  quorlin_host::DebugOutputCapture reports;
  TFilterPluginList list;
  list.LoadPlugins(CaseDirectory("kernel_hostile").c_str(), 0);
  EXPECT_EQ(SourcesOf(list), std::vector<std::string>{"klongestname.dll"});
  EXPECT_EQ(list.IndexOfName(std::string(255, 'x').c_str()), 0);
  for (const char *file : {"kunterminated.dll", "klongname.dll", "kunreadable.dll"})
    EXPECT_FALSE(IsLoaded(file)) << file;
  EXPECT_EQ(SkipReports(reports.Lines()),
            (std::vector<std::string>{
                "klongname.dll: kernel: the name is not a readable text of at most 255 bytes",
                "kunreadable.dll: kernel: the record is not readable memory",
                "kunterminated.dll: kernel: the name is not a readable text of at most 255 bytes"}));
}

TEST_F(KernelListTest, ReleasesItsLibrariesLastLoadedFirst) {
  std::string expected;
  for (const std::string &file : ListedAmong(kUsableInYC48)) {
    expected = file.substr(0, file.size() - 4) + ";" + expected;
  }
  {
    TFilterPluginList list;
    list.LoadPlugins(CaseDirectory("kernel_mixed").c_str(), 0);
    ASSERT_EQ(list.Count(), 3);
    TakeUnloadLog();
  }
  EXPECT_EQ(TakeUnloadLog(), expected);
  for (const std::string &file : kUsableInYC48) EXPECT_FALSE(IsLoaded(file)) << file;
}

}  // namespace
