// The disk fills up during a copy or a delta run: a small file system (tmpfs, mounted by
// the test, so root is needed) holds one folder of the game or the staging folder. The
// run ends with the copy-failure message and the system's text, or with the delta tool's
// failure after its runs; every game file is wholly old or new, the file being replaced
// keeps its old content, and the failed copy or rebuild left nothing behind.
#include <gtest/gtest.h>

#include "fault_game.h"

namespace {

using namespace fault_testing;

constexpr std::uint64_t kMiB = 1 << 20;
const std::wstring kNoSpace = L"No space left on device";

class FullDiskTest : public FaultTest {
 protected:
  // Runs the update with a small file system on folder, which stays mounted until the
  // test ends; false when it cannot be mounted.
  bool RunWithSmallDiskOn(const std::wstring& folder, std::uint64_t bytes) {
    disk_ = std::make_unique<ScopedSmallDisk>(folder, bytes);
    if (!disk_->Mounted()) return false;
    Prepare();
    CUpdater::Instance().run(game_.Patch());
    EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
    ExpectEachFileOldOrNew();
    EXPECT_EQ(LeftoverCopies(), std::vector<std::string>{});
    return true;
  }

  std::unique_ptr<ScopedSmallDisk> disk_;  // unmounted before the game folder is removed
};

#define SKIP_WITHOUT_MOUNTING() GTEST_SKIP() << "cannot mount a small file system (needs root): " << disk_->Refusal()

TEST_F(FullDiskTest, CopyOfAnAddedFile) {
  if (!RunWithSmallDiskOn(Game(L"media"), 8 * kMiB)) SKIP_WITHOUT_MOUNTING();
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{CopyFailedBox(Unpacked(L"media\\big added.bin"),
                                                                           Game(L"media\\big added.bin"), kNoSpace)});
  EXPECT_EQ(installer_.pauses.size(), 10u);
  ExpectGameAt(Version::Old);
}

TEST_F(FullDiskTest, CopyOfARebuiltFileOverTheGameFile) {
  // Room for the old file but not for its new copy beside it.
  if (!RunWithSmallDiskOn(Game(L"data"), kLargeSize + 4 * kMiB)) SKIP_WITHOUT_MOUNTING();
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{CopyFailedBox(Staging(L"data\\big patched.bin"),
                                                                           Game(L"data\\big patched.bin"), kNoSpace)});
  EXPECT_EQ(ReadFile(Game(L"data/big patched.bin")), UpdatedFiles()[3].before);
}

TEST_F(FullDiskTest, DeltaRunIntoTheStagingFolder) {
  if (!RunWithSmallDiskOn(InstallerFolder(), 8 * kMiB)) SKIP_WITHOUT_MOUNTING();
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{CannotGenerateBox(L"data\\big patched.bin")});
  EXPECT_EQ(installer_.pauses.size(), 9u);
  EXPECT_EQ(ReadFile(Game(L"data/big patched.bin")), UpdatedFiles()[3].before);
  EXPECT_FALSE(Exists(Staging(L"data/big patched.bin"))) << "a partial rebuild stayed";
}

}  // namespace
