// The installer killed (SIGKILL, with the tool it runs) at moments of its run: every
// game file stays wholly old or wholly new, no temporary copy is left in the game folder,
// and the next run either finishes the update or names the file that was already patched.
#include <gtest/gtest.h>

#include "fault_game.h"

namespace {

using namespace fault_testing;
using namespace std::chrono_literals;

class KilledInstallerTest : public FaultTest {
 protected:
  // Runs the update in a child, kills it as soon as reached() holds, and checks what
  // it left; then runs the update again on this thread.
  void KillWhen(const std::function<bool(UpdateProcess&)>& reached) {
    Prepare();
    {
      UpdateProcess first(game_, 0);
      ASSERT_TRUE(first.Started());
      ASSERT_TRUE(WaitFor([&] { return reached(first) || first.HasEnded(); }, 60s)) << "the run hung";
      ASSERT_FALSE(first.HasEnded()) << "the run ended before the moment came";
      first.Kill();
      EXPECT_EQ(first.Wait(), -1);
    }
    ExpectEachFileOldOrNew();
    EXPECT_EQ(LeftoverCopies(), std::vector<std::string>{});

    const GameFile* patchedAlready = FirstPatchedFileAlreadyNew();
    CUpdater::Instance().run(game_.Patch());
    if (patchedAlready == nullptr) {
      EXPECT_EQ(CUpdater::Instance().state.load(), Succeeded);
      EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{});
      ExpectGameAt(Version::New);
    } else {
      // No rollback: a file the killed run had patched no longer matches its delta.
      EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
      EXPECT_EQ(installer_.BoxTexts(),
                std::vector<std::wstring>{L"[Installing_PatchErr " + Game(patchedAlready->path) + L"] | [Error]"});
      ExpectEachFileOldOrNew();
    }
    EXPECT_EQ(LeftoverCopies(), std::vector<std::string>{});
  }

  const GameFile* FirstPatchedFileAlreadyNew() const {
    for (const GameFile& file : UpdatedFiles()) {
      if (!file.before.empty() && !file.after.empty() && ReadFile(Game(file.path)) == file.after) return &file;
    }
    return nullptr;
  }
};

TEST_F(KilledInstallerTest, WhileThePackageIsUnpacked) {
  KillWhen([&](UpdateProcess&) { return Exists(Unpacked(L"media")); });
}

TEST_F(KilledInstallerTest, WhileALargeAddedFileIsCopied) {
  KillWhen([&](UpdateProcess& run) { return run.WritesCopyIn(Game(L"media")); });
}

TEST_F(KilledInstallerTest, RightAfterTheDeletion) {
  KillWhen([&](UpdateProcess&) { return !Exists(Game(L"old.dll")); });
}

TEST_F(KilledInstallerTest, WhileTheDeltaToolRebuildsALargeFile) {
  KillWhen([&](UpdateProcess&) { return Exists(Staging(L"data/big patched.bin")); });
}

// The rebuilt file is complete in the staging folder and is about to be moved over the
// game file, or just was.
TEST_F(KilledInstallerTest, WhenTheRebuiltFileIsComplete) {
  const std::uintmax_t newSize = Changed(Noise(kLargeSize, 2)).size();
  KillWhen([&](UpdateProcess&) {
    boost::system::error_code error;
    return boost::filesystem::file_size(platform::NativePath(Staging(L"data/big patched.bin")), error) == newSize;
  });
}

TEST_F(KilledInstallerTest, AfterTheLargeFileWasPatched) {
  const std::uintmax_t newSize = Changed(Noise(kLargeSize, 2)).size();
  KillWhen([&](UpdateProcess&) {
    boost::system::error_code error;
    return boost::filesystem::file_size(platform::NativePath(Game(L"data/big patched.bin")), error) == newSize;
  });
}

}  // namespace
