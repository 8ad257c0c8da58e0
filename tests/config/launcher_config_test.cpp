#include "config/launcher_config.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "config/text_sets.h"
#include "engine/game_folders.h"
#include "platform/path.h"
#include "support/game_layout.h"

namespace {

using testing_support::Exists;
using testing_support::GameLayout;
using testing_support::ReadFile;
using testing_support::WriteFile;

std::string Versions(const std::string& launcher, const std::string& client) {
  return "<Launcher><CurLauncherVersion>" + launcher + "</CurLauncherVersion><CurClientVersion>" +
         client + "</CurClientVersion></Launcher>";
}

class LauncherConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LocateGameRoot(L"updates", game_.InstallerFolder())); }

  void Remove(const std::wstring& path) {
    ASSERT_EQ(std::remove(platform::NativePath(path).c_str()), 0);
  }

  GameLayout game_;
  std::wstring config_ = game_.LauncherConfigPath();
  std::wstring backup_ = config_ + L".bak";
  LauncherConfig loaded_;
};

TEST_F(LauncherConfigTest, ReadsVersionsAndTextsAndRefreshesTheBackup) {
  WriteFile(backup_, "stale");
  ASSERT_TRUE(LoadLauncherConfig(loaded_));
  EXPECT_EQ(loaded_.CurLauncherVersion, L"1.0.0.1");
  EXPECT_EQ(loaded_.CurClientVersion, L"1.0.0.7");
  EXPECT_EQ(loaded_.tree.get<std::wstring>(L"Launcher.TextSet.Note"), L"(Note)");
  EXPECT_EQ(ReadFile(backup_), ReadFile(config_));
}

TEST_F(LauncherConfigTest, CreatesTheBackupWhenMissing) {
  ASSERT_TRUE(LoadLauncherConfig(loaded_));
  EXPECT_EQ(ReadFile(backup_), ReadFile(config_));
}

TEST_F(LauncherConfigTest, RestoresFromTheBackup) {
  WriteFile(backup_, Versions("2", "3"));
  Remove(config_);
  ASSERT_TRUE(LoadLauncherConfig(loaded_));
  EXPECT_EQ(ReadFile(config_), Versions("2", "3"));
  EXPECT_EQ(loaded_.CurClientVersion, L"3");
}

TEST_F(LauncherConfigTest, NeitherFileFailsAndCreatesNothing) {
  Remove(config_);
  EXPECT_FALSE(LoadLauncherConfig(loaded_));
  EXPECT_FALSE(Exists(config_));
  EXPECT_FALSE(Exists(backup_));
}

// A restore that cannot copy is caught by the existence test after it.
TEST_F(LauncherConfigTest, FailedRestoreFails) {
  struct FailingCopy : platform::SystemServices {
    bool CopyFile(const std::wstring&, const std::wstring&) override { return false; }
  } failingCopy;
  platform::ScopedSystemServices scope(failingCopy);
  WriteFile(backup_, Versions("2", "3"));
  Remove(config_);
  EXPECT_FALSE(LoadLauncherConfig(loaded_));
  EXPECT_FALSE(Exists(config_));
}

TEST_F(LauncherConfigTest, VersionsAreKeptVerbatim) {
  struct Case {
    std::string file;
    const wchar_t* launcher;
    const wchar_t* client;
  };
  const Case cases[] = {
      {Versions("\n  1.0.0.1\n", " 1.0.0.7 "), L"\n  1.0.0.1\n", L" 1.0.0.7 "},
      {"\xEF\xBB\xBF" + Versions("1.0.0.1", "1.0.0.7"), L"1.0.0.1", L"1.0.0.7"},
      {Versions("\xE7\x89\x88", "a&amp;b"), L"\u7248", L"a&b"},
      {"<Launcher><CurClientVersion>x</CurClientVersion><CurClientVersion>y</CurClientVersion>"
       "</Launcher>", L"", L"x"},
      {"<Launcher/>", L"", L""},
      {"<Other>" + Versions("1", "2") + "</Other>", L"", L""},
  };
  for (const Case& c : cases) {
    WriteFile(config_, c.file);
    ASSERT_TRUE(LoadLauncherConfig(loaded_)) << c.file;
    EXPECT_EQ(loaded_.CurLauncherVersion, c.launcher) << c.file;
    EXPECT_EQ(loaded_.CurClientVersion, c.client) << c.file;
  }
}

// The back-up is the last good copy of the file; a damaged file must not replace it.
TEST_F(LauncherConfigTest, DamagedFileFailsAfterTheBackupWasRefreshed) {
  ASSERT_TRUE(LoadLauncherConfig(loaded_));
  for (const std::string damaged : {"<Launcher><CurClientVersion>9</Launcher>",
                                    "<Launcher><CurClientVersion>caf\xE9</CurClientVersion></Launcher>"}) {
    WriteFile(config_, damaged);
    EXPECT_FALSE(LoadLauncherConfig(loaded_)) << damaged;
    EXPECT_EQ(ReadFile(backup_), damaged);
    EXPECT_EQ(loaded_.CurClientVersion, L"1.0.0.7");
    EXPECT_EQ(loaded_.tree.get<std::wstring>(L"Launcher.TextSet.Note"), L"(Note)");
  }
}

TEST_F(LauncherConfigTest, ProcessWideConfigurationFeedsLookups) {
  game_.SetLauncherText(L"Note", L"\u6CE8\u610F");
  ASSERT_TRUE(LoadLauncherConfig(LauncherConfig::Instance()));
  EXPECT_EQ(CurrentClientVersion(), L"1.0.0.7");
  EXPECT_EQ(LauncherText(L"Note"), L"\u6CE8\u610F");
  EXPECT_EQ(LauncherText(L"Missing"), L"");
}

}  // namespace
