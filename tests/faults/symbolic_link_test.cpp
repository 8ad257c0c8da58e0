// Symbolic links in the package (7-Zip restores those an archive stores) or in the game
// folder must not lead the update out of the game folder: such an update is refused as
// an unreadable package before any file is held or changed, and nothing outside is
// written.
#include <gtest/gtest.h>

#include <algorithm>

#include "fault_game.h"

namespace {

using namespace fault_testing;
namespace fs = boost::filesystem;

class SymbolicLinkTest : public FaultTest {
 protected:
  void SetUp() override {
    FaultTest::SetUp();
    WriteFile(Outside(L"secret.txt"), "not the game's");
    WriteFile(Outside(L"Launcher.cfg"), "<Launcher>7</Launcher>");
  }

  std::wstring Outside(const std::wstring& name) const { return work_ / (L"outside/" + name); }

  static void Link(const std::wstring& target, const std::wstring& link) {
    boost::system::error_code error;
    fs::remove_all(platform::NativePath(link), error);
    fs::create_directories(fs::path(platform::NativePath(link)).parent_path());
    fs::create_symlink(platform::NativePath(target), platform::NativePath(link));
  }

  void ExpectRefusedBeforeAnyChange() {
    CUpdater::Instance().run(game_.Patch());

    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed}));
    EXPECT_EQ(dialog_->statusTexts, std::vector<std::wstring>{L"(ParsePatchesIndexError)"});
    EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{});
    ExpectGameAt(Version::Old);
    std::vector<std::string> outside;
    for (fs::directory_iterator entry(platform::NativePath(work_ / L"outside")), end; entry != end; ++entry) {
      outside.push_back(entry->path().filename().string());
    }
    std::sort(outside.begin(), outside.end());
    EXPECT_EQ(outside, (std::vector<std::string>{"Launcher.cfg", "secret.txt"}));
    EXPECT_EQ(ReadFile(Outside(L"secret.txt")), "not the game's");
    EXPECT_EQ(ReadFile(Outside(L"Launcher.cfg")), "<Launcher>7</Launcher>");
  }
};

TEST_F(SymbolicLinkTest, AddedFileThatIsALink) {
  Prepare([&](const std::wstring& top) { Link(Outside(L"secret.txt"), platform::JoinPath(top, L"数据/说明.txt")); });
  ExpectRefusedBeforeAnyChange();
  EXPECT_FALSE(Exists(Game(L"数据/说明.txt")));
}

TEST_F(SymbolicLinkTest, AddedFileUnderAFolderThatIsALink) {
  Prepare([&](const std::wstring& top) { Link(work_ / L"outside", platform::JoinPath(top, L"media")); });
  ExpectRefusedBeforeAnyChange();
}

TEST_F(SymbolicLinkTest, DeltaThatIsALink) {
  Prepare([&](const std::wstring& top) {
    Link(Outside(L"secret.txt"), platform::JoinPath(top, L"deltas/config/Launcher.cfg.xd3"));
  });
  ExpectRefusedBeforeAnyChange();
}

// 7-Zip itself refuses a link whose relative target climbs out of the folder it unpacks into.
TEST_F(SymbolicLinkTest, RelativeLinkLeavingThePackage) {
  Prepare([&](const std::wstring& top) {
    Link(L"../../../outside/secret.txt", platform::JoinPath(top, L"数据/说明.txt"));
  });
  ExpectRefusedBeforeAnyChange();
}

TEST_F(SymbolicLinkTest, GameFolderThatLinksOutOfTheGame) {
  Prepare();
  Link(work_ / L"outside", Game(L"media"));
  ExpectRefusedBeforeAnyChange();
}

TEST_F(SymbolicLinkTest, GameFileToPatchThatLinksOutOfTheGame) {
  Prepare();
  Link(Outside(L"Launcher.cfg"), Game(L"config/Launcher.cfg"));
  ExpectRefusedBeforeAnyChange();
}

// Links that stay inside the game folder are the player's business: the update goes through them.
TEST_F(SymbolicLinkTest, GameFolderThatLinksElsewhereInTheGame) {
  Prepare();
  fs::create_directories(platform::NativePath(Game(L"real media")));
  Link(Game(L"real media"), Game(L"media"));

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), Succeeded);
  ExpectGameAt(Version::New);
  EXPECT_TRUE(Exists(Game(L"real media/big added.bin")));
}

}  // namespace
