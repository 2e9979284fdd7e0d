#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "PluginCases.h"
#include "common/PluginLibraries.h"

namespace {

std::string SparePath() { return CaseDirectory("window_spare") + "\\wspare.dll"; }

// Copies the spare fixture into `directory` as `fileName` and gives the copy `attributes`.
void PlaceSpare(const std::string &directory, const std::string &fileName, DWORD attributes) {
  const std::string path = directory + "\\" + fileName;
  ASSERT_TRUE(CopyFileA(SparePath().c_str(), path.c_str(), FALSE)) << path;
  if (attributes != 0) {
    SetFileAttributesA(path.c_str(), attributes);
    ASSERT_EQ(GetFileAttributesA(path.c_str()) & attributes, attributes) << path;
  }
}

// The file names offered to `accept` while every library is turned down.
std::vector<std::string> OfferedFiles(const std::string &directory) {
  std::vector<std::string> offered;
  ForEachPluginLibrary(directory, [&](HMODULE module) {
    offered.push_back(ModuleFileOf(module));
    return false;
  });
  return offered;
}

class PluginLibrariesTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeUnloadLog(); }
};

TEST_F(PluginLibrariesTest, ATurnedDownLibraryIsReleasedAndAnAcceptedOneKept) {
  EXPECT_EQ(OfferedFiles(CaseDirectory("window_three")), std::vector<std::string>{"wthree.dll"});
  EXPECT_FALSE(IsLoaded("wthree.dll"));
  EXPECT_EQ(TakeUnloadLog(), "wthree;");

  HMODULE kept = nullptr;
  ForEachPluginLibrary(CaseDirectory("window_three"), [&](HMODULE module) {
    kept = module;
    return true;
  });
  EXPECT_EQ(kept, GetModuleHandleA("wthree.dll"));
  ASSERT_NE(kept, nullptr);
  FreeLibrary(kept);
  EXPECT_FALSE(IsLoaded("wthree.dll"));
}

TEST_F(PluginLibrariesTest, AFailureWhileInspectingReleasesTheLibraryAndPropagates) {
  EXPECT_THROW(ForEachPluginLibrary(CaseDirectory("window_three"),
                                    [](HMODULE) -> bool { throw std::runtime_error("inspect"); }),
               std::runtime_error);
  EXPECT_FALSE(IsLoaded("wthree.dll"));
}

TEST_F(PluginLibrariesTest, ADirectoryWithOrWithoutItsDelimiterListsTheSameFiles) {
  const std::string directory = CaseDirectory("window_mixed");
  const std::vector<std::string> plain = OfferedFiles(directory);
  EXPECT_EQ(plain, ListedDllNames(directory));
  EXPECT_EQ(plain.size(), 5u);
  EXPECT_EQ(OfferedFiles(directory + "\\"), plain);
  EXPECT_EQ(OfferedFiles(directory + "/"), plain);
}

TEST_F(PluginLibrariesTest, OnlyPlainFilesAreLoaded) {
  const std::string directory = FreshScratchDirectory("attributes");
  PlaceSpare(directory, "plain.dll", 0);
  PlaceSpare(directory, "readonly.dll", FILE_ATTRIBUTE_READONLY);
  PlaceSpare(directory, ".secret.dll", FILE_ATTRIBUTE_HIDDEN);
  PlaceSpare(directory, "sysfile.dll", FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(CreateDirectoryA((directory + "\\folder.dll").c_str(), nullptr));
  PlaceSpare(directory + "\\folder.dll", "inner.dll", 0);

  std::vector<std::string> offered = OfferedFiles(directory);
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(offered, (std::vector<std::string>{"plain.dll", "readonly.dll"}));
  EXPECT_EQ(TakeUnloadLog(), "wspare;wspare;");
}

TEST_F(PluginLibrariesTest, ADoubleByteNameEndingInByte5CGetsItsDelimiter) {
  ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
  // "表" is 0x95 0x5C in code page 932: its second byte is not a path delimiter.
  const std::string directory = FreshScratchDirectory("\x95\x5C");
  PlaceSpare(directory, "plain.dll", 0);
  EXPECT_EQ(OfferedFiles(directory), std::vector<std::string>{"plain.dll"});
  EXPECT_EQ(OfferedFiles(directory + "\\"), std::vector<std::string>{"plain.dll"});
}

TEST_F(PluginLibrariesTest, ReleasesItsHandlesLastAddedFirst) {
  {
    PluginLibraries libraries;
    for (const char *file : {"wfirst.dll", "wincomplete.dll", "wsecond.dll"}) {
      HMODULE module = LoadLibraryA((CaseDirectory("window_mixed") + "\\" + file).c_str());
      ASSERT_NE(module, nullptr) << file;
      libraries.Add(module);
    }
    EXPECT_EQ(libraries.Count(), 3u);
  }
  EXPECT_EQ(TakeUnloadLog(), "wsecond;wincomplete;wfirst;");
}

}  // namespace
