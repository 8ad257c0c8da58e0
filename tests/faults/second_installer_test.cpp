// A second installer started while the first one runs: the second one is refused before
// it unpacks anything, so it neither changes the game nor disturbs the first one's
// unpacked package and staging folder, and the first one then finishes the update.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "fault_game.h"

namespace {

using namespace fault_testing;
using namespace std::chrono_literals;

// Each file's identity, length and time of change, learnt without opening it: opening a
// file the first installer holds would wait for the kernel to break its hold.
std::map<std::wstring, std::tuple<ino_t, off_t, std::int64_t>> Identities(const std::vector<std::wstring>& paths) {
  std::map<std::wstring, std::tuple<ino_t, off_t, std::int64_t>> identities;
  for (const std::wstring& path : paths) {
    struct stat info {};
    if (::stat(platform::NativePath(path).c_str(), &info) == 0) {
      identities[path] = {info.st_ino, info.st_size, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
    }
  }
  return identities;
}

class SecondInstallerTest : public FaultTest {
 protected:
  // The first installer stops before its copy of that number; the second then runs.
  void ExpectRefusedWhileTheFirstPausesBeforeCopy(int copy) {
    Prepare();
    std::vector<std::wstring> files = {Unpacked(L"media/big added.bin"), Unpacked(L"数据/说明.txt"),
                                       Staging(L"data/big patched.bin")};
    for (const GameFile& file : UpdatedFiles()) files.push_back(Game(file.path));
    UpdateProcess first(game_, copy);
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(first.WaitUntilPaused()) << "the first run ended before the pause";
    const auto before = Identities(files);

    const auto started = std::chrono::steady_clock::now();
    CUpdater::Instance().run(game_.Patch());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s) << "the second run waited for the first";

    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, FileStepFailed}));
    EXPECT_EQ(installer_.BoxTexts(),
              std::vector<std::wstring>{L"[Installing_FileFalid " + game_.PackagePath() + L"] | (Error)"});
    EXPECT_EQ(Identities(files), before) << "the second run touched the first one's files";

    first.Continue();
    EXPECT_EQ(first.Wait(), 0) << "the first run did not finish the update";
    ExpectGameAt(Version::New);
    EXPECT_EQ(LeftoverCopies(), std::vector<std::string>{});
  }
};

TEST_F(SecondInstallerTest, WhileTheFirstHoldsEveryFile) { ExpectRefusedWhileTheFirstPausesBeforeCopy(1); }

// The first one's rebuilt file waits in the staging folder, which a second run would empty.
TEST_F(SecondInstallerTest, WhileTheFirstPatches) { ExpectRefusedWhileTheFirstPausesBeforeCopy(3); }

}  // namespace
