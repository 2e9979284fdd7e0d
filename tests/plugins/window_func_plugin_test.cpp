#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "harness/DebugOutput.h"
#include "PluginCases.h"
#include "plugins/WindowFuncPlugin.h"

namespace {

std::vector<std::string> NamesOf(const TWndFuncPluginList &list) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < list.Count(); ++i) names.push_back(list.Item(i)->Name);
  return names;
}

// "file: name" for every record, to check the order across libraries.
std::vector<std::string> SourcesOf(const TWndFuncPluginList &list) {
  std::vector<std::string> sources;
  for (int32_t i = 0; i < list.Count(); ++i) {
    sources.push_back(ModuleFileOf(list.Item(i)) + ": " + list.Item(i)->Name);
  }
  return sources;
}

// What each library of the mixed case contributes, in index order; incomplete records (a null
// Name, a null Create) are left out.
const std::map<std::string, std::vector<std::string>> kMixedRecords = {
    {"wfirst.dll", {"Alpha", "Beta"}},
    {"wsecond.dll", {"Beta", "Delta"}},
    {"wincomplete.dll", {"Epsilon", "Eta"}},
    {"wempty2.dll", {}},
    {"wnoexport2.dll", {}},
};

class WindowFuncListTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeUnloadLog(); }
};

TEST_F(WindowFuncListTest, ListsALibrarysRecordsInIndexOrderAndKeepsItUntilDestroyed) {
  {
    TWndFuncPluginList list;
    list.LoadPlugins(CaseDirectory("window_three").c_str());
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(IsLoaded("wthree.dll"));
    EXPECT_EQ(TakeUnloadLog(), "");
  }
  EXPECT_FALSE(IsLoaded("wthree.dll"));
  EXPECT_EQ(TakeUnloadLog(), "wthree;");
}

TEST_F(WindowFuncListTest, HoldsOneReferencePerLibraryNotOnePerRecord) {
  HMODULE own = LoadLibraryA((CaseDirectory("window_three") + "\\wthree.dll").c_str());
  ASSERT_NE(own, nullptr);
  {
    TWndFuncPluginList list;
    list.LoadPlugins(CaseDirectory("window_three").c_str());
    ASSERT_EQ(list.Count(), 3);
  }
  // Releasing once per record would have dropped the test's own reference too.
  EXPECT_TRUE(IsLoaded("wthree.dll"));
  FreeLibrary(own);
  EXPECT_FALSE(IsLoaded("wthree.dll"));
}

TEST_F(WindowFuncListTest, ReleasesALibraryThatOffersNothing) {
  for (const char *caseName : {"window_empty", "window_noexport"}) {
    TWndFuncPluginList list;
    list.LoadPlugins(CaseDirectory(caseName).c_str());
    EXPECT_EQ(list.Count(), 0) << caseName;
  }
  EXPECT_FALSE(IsLoaded("wempty.dll"));
  EXPECT_FALSE(IsLoaded("wnoexport.dll"));
  EXPECT_EQ(TakeUnloadLog(), "wempty;wnoexport;");
}

TEST_F(WindowFuncListTest, AMissingDirectoryGivesAnEmptyList) {
  TWndFuncPluginList list;
  list.LoadPlugins((CaseDirectory("window_three") + "\\no such folder").c_str());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.IndexOfName("Alpha"), -1);
}

TEST_F(WindowFuncListTest, ListsLibrariesInListingOrderAndReleasesThemLastLoadedFirst) {
  const std::string directory = CaseDirectory("window_mixed");
  std::vector<std::string> expected;
  std::string expectedUnloads;
  for (const std::string &file : ListedDllNames(directory)) {
    for (const std::string &name : kMixedRecords.at(file)) expected.push_back(file + ": " + name);
    if (!kMixedRecords.at(file).empty()) {
      expectedUnloads = file.substr(0, file.size() - 4) + ";" + expectedUnloads;
    }
  }
  {
    TWndFuncPluginList list;
    list.LoadPlugins(directory.c_str());
    EXPECT_EQ(SourcesOf(list), expected);
    EXPECT_FALSE(IsLoaded("wempty2.dll"));
    EXPECT_FALSE(IsLoaded("wnoexport2.dll"));
    TakeUnloadLog();
  }
  EXPECT_EQ(TakeUnloadLog(), expectedUnloads);
}

TEST_F(WindowFuncListTest, IndexOfNameIsExactCaseSensitiveAndFirstWins) {
  const std::string directory = CaseDirectory("window_mixed");
  TWndFuncPluginList list;
  list.LoadPlugins(directory.c_str());
  ASSERT_EQ(list.Count(), 6);

  // Both libraries offer "Beta"; the one listed first wins, and both stay in the list.
  const std::vector<std::string> listed = ListedDllNames(directory);
  const auto position = [&](const char *file) {
    for (size_t i = 0; i < listed.size(); ++i) {
      if (listed[i] == file) return i;
    }
    return listed.size();
  };
  const std::string firstBeta =
      position("wfirst.dll") < position("wsecond.dll") ? "wfirst.dll" : "wsecond.dll";
  const int32_t beta = list.IndexOfName("Beta");
  ASSERT_GE(beta, 0);
  EXPECT_EQ(ModuleFileOf(list.Item(beta)), firstBeta);
  int32_t betas = 0;
  for (const std::string &name : NamesOf(list)) betas += name == "Beta";
  EXPECT_EQ(betas, 2);

  EXPECT_EQ(std::string(list.Item(list.IndexOfName("Delta"))->Name), "Delta");
  EXPECT_EQ(list.IndexOfName("beta"), -1);
  EXPECT_EQ(list.IndexOfName("BETA"), -1);
  EXPECT_EQ(list.IndexOfName("Bet"), -1);
  EXPECT_EQ(list.IndexOfName("Betas"), -1);
  EXPECT_EQ(list.IndexOfName(""), -1);
  EXPECT_EQ(list.IndexOfName("Zeta"), -1);  // its record has no Create
}

// Broken libraries cost neither the editor nor the other libraries anything: a record whose
// texts run into unreadable memory or past 255 bytes, or that itself lies in unreadable memory,
// is left out; a library listing more than 256 functions (one whose list never ends) is left
// out whole. Each is reported in one line of debug output.
TEST_F(WindowFuncListTest, LeavesOutBrokenRecordsAndLibrariesListingTooManyAndSaysWhy) {
  quorlin_host::DebugOutputCapture reports;
  TWndFuncPluginList list;
  list.LoadPlugins(CaseDirectory("window_hostile").c_str());
  std::map<std::string, int> listed;
  for (const std::string &name : NamesOf(list)) ++listed[name];
  EXPECT_EQ(listed, (std::map<std::string, int>{
                        {"First", 1}, {std::string(255, 'x'), 1}, {"Last", 1}, {"Most", 256}}));
  EXPECT_FALSE(IsLoaded("wendless.dll"));
  EXPECT_FALSE(IsLoaded("wtoomany.dll"));

  EXPECT_EQ(SkipReports(reports.Lines()),
            (std::vector<std::string>{
                "wbroken.dll: window function 1: the name is not a readable text of at most 255 bytes",
                "wbroken.dll: window function 2: the parameter label is not a readable text of at "
                "most 255 bytes",
                "wbroken.dll: window function 3: the name is not a readable text of at most 255 bytes",
                "wbroken.dll: window function 6: the record is not readable memory",
                "wendless.dll: it lists more than 256 window functions",
                "wtoomany.dll: it lists more than 256 window functions"}));
}

TEST_F(WindowFuncListTest, DeleteRemovesTheRecordAndKeepsItsLibraryLoaded) {
  {
    TWndFuncPluginList list;
    list.LoadPlugins(CaseDirectory("window_three").c_str());
    ASSERT_EQ(list.Count(), 3);
    list.Delete(1);
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(list.IndexOfName("Beta"), -1);
    EXPECT_EQ(list.IndexOfName("Gamma"), 1);
    list.Delete(0);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(IsLoaded("wthree.dll"));

    list.Delete(0);  // out of range: nothing to remove
    list.Delete(-1);
    EXPECT_EQ(list.Count(), 0);
  }
  EXPECT_FALSE(IsLoaded("wthree.dll"));
  EXPECT_EQ(TakeUnloadLog(), "wthree;");
}

}  // namespace
