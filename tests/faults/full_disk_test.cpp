// The disk fills up during a copy or a delta run: a small file system (tmpfs, mounted by
// the test, so root is needed) holds one folder of the game or the staging folder. The
// run ends with the copy-failure message and the system's text, or with the delta tool's
// failure after its runs; every game file is wholly old or new, and the failed copy left
// nothing behind on the full disk.
#include <gtest/gtest.h>

#include "fault_game.h"

namespace {

using namespace fault_testing;

constexpr std::uint64_t kMiB = 1 << 20;

using FullDiskTest = FaultTest;

TEST_F(FullDiskTest, CopyOfAnAddedFile) {
  ScopedSmallDisk disk(Game(L"media"), 8 * kMiB);
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system (needs root): " << disk.Refusal();
  Prepare();

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
  EXPECT_EQ(installer_.BoxTexts(),
            std::vector<std::wstring>{L"(CopyFileFailed)" + Unpacked(L"media\\big added.bin") + L"(To)" +
                                      Game(L"media\\big added.bin") +
                                      L"(SystemReturn)No space left on device | (Error)"});
  EXPECT_EQ(installer_.pauses.size(), 10u);
  ExpectGameUnchanged();
  EXPECT_TRUE(boost::filesystem::is_empty(platform::NativePath(Game(L"media")))) << "the failed copy stayed";
}

TEST_F(FullDiskTest, CopyOfARebuiltFileOverTheGameFile) {
  // Room for the old file but not for its new copy beside it.
  ScopedSmallDisk disk(Game(L"data"), kLargeSize + 4 * kMiB);
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system (needs root): " << disk.Refusal();
  Prepare();

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
  EXPECT_EQ(installer_.BoxTexts(),
            std::vector<std::wstring>{L"(CopyFileFailed)" + Staging(L"data\\big patched.bin") + L"(To)" +
                                      Game(L"data\\big patched.bin") +
                                      L"(SystemReturn)No space left on device | (Error)"});
  ExpectEachFileOldOrNew();
  EXPECT_EQ(ReadFile(Game(L"data/big patched.bin")), UpdatedFiles()[3].before);
  EXPECT_EQ(LeftoverCopies(), std::vector<std::string>{});
}

TEST_F(FullDiskTest, DeltaRunIntoTheStagingFolder) {
  ScopedSmallDisk disk(InstallerFolder(), 8 * kMiB);
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system (needs root): " << disk.Refusal();
  Prepare();

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
  EXPECT_EQ(installer_.BoxTexts(),
            std::vector<std::wstring>{L"(ToSource)" + Game(L"data\\big patched.bin") + L"(ApplyPatch)" +
                                      Unpacked(L"deltas\\data\\big patched.bin.xd3") + L"(ErrorOfPatchTarget)" +
                                      Staging(L"data\\big patched.bin") + L"(CannotGenerate)(WorkingDir)" +
                                      platform::System().CurrentFolder() + L" | (Error)"});
  EXPECT_EQ(installer_.pauses.size(), 9u);
  ExpectEachFileOldOrNew();
  EXPECT_EQ(ReadFile(Game(L"data/big patched.bin")), UpdatedFiles()[3].before);
  EXPECT_FALSE(Exists(Staging(L"data/big patched.bin"))) << "a partial rebuild stayed";
}

}  // namespace
