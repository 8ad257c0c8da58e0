#include "engine/apply_steps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/check_steps.h"
#include "entries.h"
#include "installer_run.h"
#include "platform/system.h"
#include "support/game_layout.h"

namespace {

using namespace engine_testing;
using testing_support::Exists;
using testing_support::GameLayout;
using testing_support::ReadFile;
using testing_support::WriteFile;

const std::vector<std::uint32_t> kCopyPauses = {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};
const std::vector<std::uint32_t> kDeltaPauses = {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000};

class ApplyStepsTest : public ::testing::Test {
 protected:
  // A patched entry for a game file, its delta built with the real xdelta3.
  PatchEntry PreparePatch(const std::wstring& srcFile, const std::string& before, const std::string& after) {
    const PatchEntry entry = PatchedEntry(srcFile, L"deltas\\" + srcFile + L".delta", before);
    WriteFile(GameFilePath(folders_, entry), before);
    WriteFile(PackageFilePath(folders_, entry) + L".target", after);
    WriteFile(PackageFilePath(folders_, entry), "");
    EncodeDelta(GameFilePath(folders_, entry), PackageFilePath(folders_, entry) + L".target",
                PackageFilePath(folders_, entry));
    return entry;
  }

  std::wstring WorkingFolderText() const { return L"(WorkingDir)" + platform::System().CurrentFolder(); }

  GameLayout game_;
  InstallerRun installer_{game_};
  const UpdateFolders folders_ = InstallerRun::Folders(game_);
  HeldFiles held_;
};

TEST_F(ApplyStepsTest, AddedFileIsCopiedIntoNewFolders) {
  const PatchEntry entry = AddedEntry(L"data\\maps\\新 map.pak");
  WriteFile(PackageFilePath(folders_, entry), "map");
  ASSERT_TRUE(CheckAddedEntry(held_, folders_, entry));

  EXPECT_TRUE(ApplyAddedEntry(held_, folders_, entry));
  EXPECT_EQ(ReadFile(GameFilePath(folders_, entry)), "map");
  EXPECT_EQ(held_.Count(), 0u);
  EXPECT_TRUE(installer_.pauses.empty());
}

TEST_F(ApplyStepsTest, CopyThatKeepsFailingIsRetriedThenReported) {
  const PatchEntry entry = AddedEntry(L"data");
  WriteFile(PackageFilePath(folders_, entry), "file");
  WriteFile(GameFilePath(folders_, entry) + L"/inside", "a folder stands in the way");

  EXPECT_FALSE(ApplyAddedEntry(held_, folders_, entry));
  EXPECT_EQ(installer_.pauses, kCopyPauses);
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"(CopyFileFailed)" + PackageFilePath(folders_, entry) + L"(To)" +
                                                  GameFilePath(folders_, entry) +
                                                  L"(SystemReturn)Is a directory | (Error)"});
}

TEST_F(ApplyStepsTest, DeletedFileIsRemovedAndAMissingOneIsNoError) {
  const PatchEntry entry = DeletedEntry(L"old\\file.dll");
  WriteFile(GameFilePath(folders_, entry), "old");
  ASSERT_TRUE(CheckDeletedEntry(held_, folders_, entry));

  EXPECT_TRUE(ApplyDeletedEntry(held_, folders_, entry));
  EXPECT_FALSE(Exists(GameFilePath(folders_, entry)));
  EXPECT_TRUE(ApplyDeletedEntry(held_, folders_, DeletedEntry(L"never there")));
  EXPECT_EQ(held_.Count(), 0u);
  EXPECT_TRUE(installer_.BoxTexts().empty());
}

TEST_F(ApplyStepsTest, PatchedFileIsRebuiltThroughTheStagingFolder) {
  const std::string common(20000, 'a');
  const PatchEntry entry = PreparePatch(L"bin\\game 游戏.exe", common + "old", common + "new!");
  ASSERT_TRUE(CheckPatchedEntry(held_, folders_, entry));

  EXPECT_TRUE(ApplyPatchedEntry(held_, folders_, entry));
  EXPECT_EQ(ReadFile(GameFilePath(folders_, entry)), common + "new!");
  EXPECT_FALSE(Exists(StagingFilePath(folders_, entry)));
  EXPECT_TRUE(Exists(folders_.staging + L"/bin"));
  EXPECT_EQ(held_.Count(), 0u);
  EXPECT_TRUE(installer_.pauses.empty());
  EXPECT_TRUE(installer_.BoxTexts().empty());
}

TEST_F(ApplyStepsTest, GameFileChangedBetweenCheckAndApply) {
  const PatchEntry entry = PreparePatch(L"game.exe", "original", "patched");
  ASSERT_TRUE(CheckPatchedEntry(held_, folders_, entry));
  // Another program replaces the file while it is held.
  WriteFile(game_.Root() + L"/replacement", "replaced");
  std::rename(platform::NativePath(game_.Root() + L"/replacement").c_str(),
              platform::NativePath(GameFilePath(folders_, entry)).c_str());

  EXPECT_FALSE(ApplyPatchedEntry(held_, folders_, entry));
  EXPECT_EQ(ReadFile(GameFilePath(folders_, entry)), "replaced");
  EXPECT_FALSE(Exists(StagingFilePath(folders_, entry)));
  EXPECT_EQ(installer_.BoxTexts(),
            std::vector<std::wstring>{L"[Installing_PatchErr " + GameFilePath(folders_, entry) + L"] | [Error]"});
}

TEST_F(ApplyStepsTest, DeltaToolThatNeverProducesOutput) {
  const PatchEntry entry = PreparePatch(L"game.exe", "original", "patched");
  const std::wstring runs = game_.Root() + L"/runs";
  WriteProgram(platform::JoinPath(ProgramFolder(), L"xdelta3"), "echo run >> " + ShellWord(runs));

  EXPECT_FALSE(ApplyPatchedEntry(held_, folders_, entry));
  std::string tenRuns;
  for (int run = 0; run < 10; ++run) tenRuns += "run\n";
  EXPECT_EQ(ReadFile(runs), tenRuns);
  EXPECT_EQ(installer_.pauses, kDeltaPauses);
  EXPECT_EQ(ReadFile(GameFilePath(folders_, entry)), "original");
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"(ToSource)" + GameFilePath(folders_, entry) + L"(ApplyPatch)" +
                                                  PackageFilePath(folders_, entry) + L"(ErrorOfPatchTarget)" +
                                                  StagingFilePath(folders_, entry) + L"(CannotGenerate)" +
                                                  WorkingFolderText() + L" | (Error)"});
}

TEST_F(ApplyStepsTest, DeltaMissingAtApplyTime) {
  const PatchEntry entry = PatchedEntry(L"game.exe", L"game.exe.delta", "original");
  WriteFile(GameFilePath(folders_, entry), "original");

  EXPECT_FALSE(ApplyPatchedEntry(held_, folders_, entry));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"(PatchFiles)" + PackageFilePath(folders_, entry) + L"(NoExist)" +
                                                  WorkingFolderText() + L" | (Error)"});
}

}  // namespace
