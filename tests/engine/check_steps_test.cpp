#include "engine/check_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entries.h"
#include "installer_run.h"
#include "support/file_opener_process.h"
#include "support/game_layout.h"

namespace {

using namespace engine_testing;
using testing_support::FileOpenerProcess;
using testing_support::GameLayout;
using testing_support::WriteFile;

class CheckStepsTest : public ::testing::Test {
 protected:
  GameLayout game_;
  InstallerRun installer_{game_};
  const UpdateFolders folders_ = InstallerRun::Folders(game_);
  HeldFiles held_;
};

TEST_F(CheckStepsTest, AddedAndDeletedFilesAreHeldWhenPresent) {
  WriteFile(PackageFilePath(folders_, AddedEntry(L"data\\new.pak")), "new");
  WriteFile(GameFilePath(folders_, DeletedEntry(L"old.dll")), "old");

  EXPECT_TRUE(CheckAddedEntry(held_, folders_, AddedEntry(L"data\\new.pak")));
  EXPECT_TRUE(CheckAddedEntry(held_, folders_, AddedEntry(L"missing.pak")));
  EXPECT_TRUE(CheckDeletedEntry(held_, folders_, DeletedEntry(L"old.dll")));
  EXPECT_TRUE(CheckDeletedEntry(held_, folders_, DeletedEntry(L"missing.dll")));

  EXPECT_TRUE(held_.IsHeld(PackageFilePath(folders_, AddedEntry(L"data\\new.pak"))));
  EXPECT_TRUE(held_.IsHeld(GameFilePath(folders_, DeletedEntry(L"old.dll"))));
  EXPECT_EQ(held_.Count(), 2u);
  EXPECT_TRUE(installer_.BoxTexts().empty());
}

TEST_F(CheckStepsTest, FileInUseByTheGameFailsItsCheck) {
  const PatchEntry entry = DeletedEntry(L"client.dll");
  const std::wstring gameFile = GameFilePath(folders_, entry);
  WriteFile(gameFile, "in use");
  const FileOpenerProcess client(gameFile);

  EXPECT_FALSE(CheckDeletedEntry(held_, folders_, entry));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"[Installing_FileFalid " + gameFile + L"] | (Error)"});
}

TEST_F(CheckStepsTest, PatchedEntryHoldsGameFileAndDelta) {
  const PatchEntry entry = PatchedEntry(L"bin\\game.exe", L"deltas\\game.exe.delta", "expected");
  WriteFile(GameFilePath(folders_, entry), "expected");
  WriteFile(PackageFilePath(folders_, entry), "delta");

  EXPECT_TRUE(CheckPatchedEntry(held_, folders_, entry));
  EXPECT_TRUE(held_.IsHeld(GameFilePath(folders_, entry)));
  EXPECT_TRUE(held_.IsHeld(PackageFilePath(folders_, entry)));
}

TEST_F(CheckStepsTest, PatchedEntryWhoseGameFileIsNotTheExpectedOne) {
  struct Case {
    const char* name;
    const char* content;  // nullptr: missing
  };
  const Case cases[] = {{"missing", nullptr}, {"other length", "expected!"}, {"same length", "EXPECTED"}};
  for (const Case& c : cases) {
    const std::wstring name = platform::FromUtf8Lossy(c.name);
    const PatchEntry entry = PatchedEntry(name, name + L".delta", "expected");
    if (c.content) WriteFile(GameFilePath(folders_, entry), c.content);
    WriteFile(PackageFilePath(folders_, entry), "delta");

    EXPECT_FALSE(CheckPatchedEntry(held_, folders_, entry)) << c.name;
    EXPECT_EQ(installer_.BoxTexts().back(), L"[Installing_PatchErr " + GameFilePath(folders_, entry) + L"] | [Error]") << c.name;
  }
  EXPECT_EQ(held_.Count(), 0u);
}

TEST_F(CheckStepsTest, PatchedEntryWithoutItsDelta) {
  const PatchEntry entry = PatchedEntry(L"game.exe", L"game.exe.delta", "expected");
  WriteFile(GameFilePath(folders_, entry), "expected");

  EXPECT_FALSE(CheckPatchedEntry(held_, folders_, entry));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"[Installing_FileFalid " + PackageFilePath(folders_, entry) +
                                                  L"] | (Error)"});
}

// A file the run already holds cannot be read again, so it does not pass as unchanged.
TEST_F(CheckStepsTest, GameFileBothDeletedAndPatched) {
  const PatchEntry patched = PatchedEntry(L"a.dat", L"a.delta", "expected");
  WriteFile(GameFilePath(folders_, patched), "expected");
  WriteFile(PackageFilePath(folders_, patched), "delta");

  ASSERT_TRUE(CheckDeletedEntry(held_, folders_, DeletedEntry(L"a.dat")));
  EXPECT_FALSE(CheckPatchedEntry(held_, folders_, patched));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"[Installing_PatchErr " + GameFilePath(folders_, patched) +
                                                  L"] | [Error]"});
}

}  // namespace
