// A second installer started while the first one holds the files: the second one's check
// is refused, it changes nothing, and the first one then finishes the update.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "fault_game.h"

namespace {

using namespace fault_testing;
using namespace std::chrono_literals;

using SecondInstallerTest = FaultTest;

// Each updated game file's identity, length and time of change, learnt without opening
// it: opening a file the first installer holds would wait for the kernel to break its
// hold.
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

TEST_F(SecondInstallerTest, IsRefusedWhileTheFirstHoldsTheFiles) {
  Prepare();
  std::vector<std::wstring> gameFiles;
  for (const GameFile& file : UpdatedFiles()) gameFiles.push_back(Game(file.path));
  UpdateProcess first(game_, UpdateProcess::Pause::BeforeFirstCopy);
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(first.WaitUntilPaused()) << "the first run ended before its first copy";
  const auto before = Identities(gameFiles);

  const auto started = std::chrono::steady_clock::now();
  CUpdater::Instance().run(game_.Patch());
  EXPECT_LT(std::chrono::steady_clock::now() - started, 20s) << "the second run waited for the first";

  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, Counted, Checking, FileStepFailed}));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"[Installing_FileFalid " + Game(L"old.dll") + L"] | (Error)"});
  EXPECT_EQ(Identities(gameFiles), before);

  first.Continue();
  EXPECT_EQ(first.Wait(), 0) << "the first run did not finish the update";
  ExpectGameAt(Version::New);
  EXPECT_EQ(LeftoverCopies(), std::vector<std::string>{});
}

}  // namespace
