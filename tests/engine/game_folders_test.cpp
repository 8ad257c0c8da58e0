#include "engine/game_folders.h"

#include <gtest/gtest.h>

#include "platform/system.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

class FakeExecutable : public platform::SystemServices {
 public:
  std::wstring path;
  std::optional<std::uint64_t> freeBytes;
  std::wstring ExecutablePath() override { return path; }
  std::optional<std::uint64_t> FreeBytesAvailable(const std::wstring&) override { return freeBytes; }
};

TEST(ProgramFolder, IsTheExecutablesFolderWithoutSeparator) {
  FakeExecutable system;
  const platform::ScopedSystemServices scoped(system);
  system.path = L"/games/X/updates/quarnel";
  EXPECT_EQ(ProgramFolder(), L"/games/X/updates");
  system.path = L"quarnel";
  EXPECT_EQ(ProgramFolder(), L"quarnel");
}

TEST(ProgramFolder, RealExecutableFolderExists) {
  const std::wstring folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'/');
  EXPECT_TRUE(testing_support::Exists(folder));
}

TEST(FreeSpaceMiB, RoundsDownToWholeMiB) {
  FakeExecutable system;
  const platform::ScopedSystemServices scoped(system);
  system.path = L"/games/X/updates/quarnel";
  const struct { std::optional<std::uint64_t> bytes; std::uint32_t expected; } cases[] = {
      {1073741823u, 1023},
      {1073741824u, 1024},
      {std::uint64_t{1} << 52, 0},               // 2^32 MiB: truncated to 32 bits
      {std::nullopt, 0xFFFFFFFFu},               // unknown never refuses an install
  };
  for (const auto& c : cases) {
    system.freeBytes = c.bytes;
    EXPECT_EQ(FreeSpaceMiB(), c.expected);
  }
}

class LocateGameRootTest : public ::testing::Test {
 protected:
  void MakeGame(const std::wstring& root) {
    WriteFile(folder / (root + L"/Launcher.exe"), "");
    WriteFile(folder / (root + L"/qvtr.exe"), "");
  }
  TempFolder folder;
};

TEST_F(LocateGameRootTest, NearestUpdatesFolderDecides) {
  MakeGame(L"G");
  MakeGame(L"A/updates/B");
  WriteFile(folder / L"G/updates/a/b/keep", "");
  WriteFile(folder / L"A/updates/B/updates/keep", "");
  const struct { const wchar_t* start; const wchar_t* root; } cases[] = {
      {L"G/updates", L"G"},
      {L"G/updates/a/b", L"G"},
      {L"A/updates/B/updates", L"A/updates/B"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(LocateGameRoot(L"updates", folder / c.start)) << c.start;
    EXPECT_EQ(GameRootFolder(), folder / c.root);
    EXPECT_EQ(ProfileFolder(), folder / c.root + L"/profile");
    EXPECT_EQ(InstallerFolder(), folder / c.root + L"/updates/installer");
  }
}

TEST_F(LocateGameRootTest, RefusesWrongLocations) {
  MakeGame(L"caps");
  MakeGame(L"prefix");
  MakeGame(L"deep/updates");  // a game root farther up is never tried
  WriteFile(folder / L"folder/Launcher.exe/inside", "");
  WriteFile(folder / L"folder/qvtr.exe", "");
  WriteFile(folder / L"noqvtr/Launcher.exe", "");
  const wchar_t* starts[] = {
      L"caps/Updates", L"prefix/updates2", L"folder/updates", L"noqvtr/updates",
      L"deep/updates/x/updates", L"nowhere",
  };
  for (const wchar_t* start : starts) {
    EXPECT_FALSE(LocateGameRoot(L"updates", folder / start)) << start;
    EXPECT_EQ(GameRootFolder(), L"");
  }
}

TEST_F(LocateGameRootTest, NonAsciiFolders) {
  MakeGame(L"游戏 目录");
  EXPECT_TRUE(LocateGameRoot(L"updates", folder / L"游戏 目录/updates/工具"));
  EXPECT_EQ(GameRootFolder(), folder / L"游戏 目录");
}

TEST(FindFileInFolder, MatchesFilesExactlyAndSkipsFolders) {
  TempFolder folder;
  WriteFile(folder / L"Launcher.exe", "");
  WriteFile(folder / L"sub/qvtr.exe", "");
  EXPECT_EQ(FindFileInFolder(L"Launcher.exe", folder.Path()), folder / L"Launcher.exe");
  EXPECT_FALSE(FindFileInFolder(L"launcher.exe", folder.Path()));
  EXPECT_FALSE(FindFileInFolder(L"sub", folder.Path()));
  EXPECT_FALSE(FindFileInFolder(L"Launcher.exe", folder / L"missing"));
  EXPECT_FALSE(FindFileInFolder(L"x", folder / L"Launcher.exe"));
}

}  // namespace
