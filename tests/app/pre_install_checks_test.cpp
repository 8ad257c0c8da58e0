#include "app/pre_install_checks.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <cstdio>
#include <optional>
#include <utility>

#include "app/quarnel_app.h"
#include "config/launcher_config.h"
#include "config/launcher_manifest.h"
#include "config/quarnel_config.h"
#include "engine/game_folders.h"
#include "platform/headless/headless_window_system.h"
#include "platform/path.h"
#include "platform/posix/unique_fd.h"
#include "support/game_layout.h"

namespace {

using testing_support::GameLayout;
using testing_support::GameLayoutSettings;
using testing_support::InstallerProcess;
using testing_support::WriteFile;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

// Tells whether anything read a file's content since the watch began (opening it and
// asking its length is no read).
class ContentReadWatch {
 public:
  explicit ContentReadWatch(const std::wstring& path)
      : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(::inotify_add_watch(fd_.Get(), platform::NativePath(path).c_str(), IN_ACCESS), 0);
  }
  bool ContentWasRead() const {
    alignas(inotify_event) char events[4096];
    return ::read(fd_.Get(), events, sizeof events) > 0;
  }

 private:
  platform::UniqueFd fd_;
};

class CheckBeforeInstallTest : public ::testing::Test {
 protected:
  explicit CheckBeforeInstallTest(GameLayoutSettings settings = {}) : game_(std::move(settings)) {}

  // Start-up's loads, from the files as the test left them, then the checks on an
  // application object as new.
  int Check() {
    app_.PatchInfo = PatchInfo();
    EXPECT_TRUE(LocateGameRoot(L"updates", game_.InstallerFolder()));
    EXPECT_TRUE(LoadQuarnelConfig(QuarnelConfig()));
    EXPECT_TRUE(LoadManifest(game_.ManifestPath()));
    EXPECT_TRUE(LoadLauncherConfig(LauncherConfig::Instance()));
    return CheckBeforeInstall(app_);
  }

  // The one box shown since the last call, as "caption: text".
  std::wstring OnlyBox() {
    const auto boxes = windows_->Boxes();
    const std::size_t shown = boxes.size() - std::exchange(boxesSeen_, boxes.size());
    EXPECT_EQ(shown, 1u);
    if (shown == 0) return L"no box";
    EXPECT_EQ(boxes.back().owner, nullptr);
    return boxes.back().caption + L": " + boxes.back().text;
  }

  void ExpectNotMatch(const std::wstring& downloadName) {
    EXPECT_EQ(Check(), 0);
    EXPECT_EQ(OnlyBox(), L"[Error]: [NotMatch " + downloadName + L"]");
    EXPECT_EQ(app_.PatchInfo, PatchInfo());
  }

  GameLayout game_;
  InstallerProcess process_{game_};
  platform::ScopedHeadlessWindows windows_;
  CQuarnelApp app_;
  std::size_t boxesSeen_ = 0;
};

TEST_F(CheckBeforeInstallTest, MatchingPackagePassesAndFillsThePatch) {
  EXPECT_EQ(Check(), 1);
  EXPECT_TRUE(windows_->Boxes().empty());
  EXPECT_EQ(app_.PatchInfo, (PatchInfo{L"1.0.0.7", L"1.0.0.8", 1000, game_.Patch().Crc}));
}

TEST_F(CheckBeforeInstallTest, NeedsOneGibibyteFree) {
  process_.freeBytes = 1024 * kMiB;
  EXPECT_EQ(Check(), 1);

  // Short of space, nothing else is looked at: a missing package goes unmentioned.
  ASSERT_EQ(std::remove(platform::NativePath(game_.PackagePath()).c_str()), 0);
  process_.freeBytes = 1024 * kMiB - 1;
  EXPECT_EQ(Check(), 0);
  EXPECT_EQ(OnlyBox(), L"(Note): (NeedDiskSpaceMore)");
  EXPECT_EQ(app_.PatchInfo, PatchInfo());
}

// When the system cannot tell the free space, that alone does not refuse the install.
TEST_F(CheckBeforeInstallTest, UnknownFreeSpaceDoesNotRefuse) {
  process_.freeBytes = std::nullopt;
  EXPECT_EQ(Check(), 1);
}

TEST_F(CheckBeforeInstallTest, PackageThatDiffersIsRefused) {
  const std::string bytes = game_.PackageBytes();
  std::string otherContent = bytes;
  otherContent[500] ^= 1;
  for (const std::string& package : {bytes.substr(0, 999), bytes + "x", otherContent}) {
    WriteFile(game_.PackagePath(), package);
    ExpectNotMatch(L"Patch_1.0.0.7-1.0.0.8.exe");
  }
}

TEST_F(CheckBeforeInstallTest, MissingPackageIsRefused) {
  ASSERT_EQ(std::remove(platform::NativePath(game_.PackagePath()).c_str()), 0);
  ExpectNotMatch(L"Patch_1.0.0.7-1.0.0.8.exe");
}

TEST_F(CheckBeforeInstallTest, PackageOfTheWrongLengthIsNeverRead) {
  WriteFile(game_.PackagePath(), game_.PackageBytes().substr(1));
  const ContentReadWatch wrongLength(game_.PackagePath());
  ExpectNotMatch(L"Patch_1.0.0.7-1.0.0.8.exe");
  EXPECT_FALSE(wrongLength.ContentWasRead());

  // The watch does see the read of a package whose length matched.
  std::string otherContent = game_.PackageBytes();
  otherContent[0] ^= 1;
  WriteFile(game_.PackagePath(), otherContent);
  const ContentReadWatch rightLength(game_.PackagePath());
  EXPECT_EQ(Check(), 0);
  EXPECT_TRUE(rightLength.ContentWasRead());
}

TEST_F(CheckBeforeInstallTest, FirstPatchFromTheInstalledVersionIsChosen) {
  const PatchInfo other{L"1.0.0.7", L"1.0.0.9", 5, 6};
  game_.WriteClientPatches({game_.Patch(), other});
  EXPECT_EQ(Check(), 1);
  EXPECT_EQ(app_.PatchInfo, game_.Patch());

  game_.WriteClientPatches({other, game_.Patch()});
  ExpectNotMatch(L"Patch_1.0.0.7-1.0.0.9.exe");
}

// Without a complete patch from the installed version no package can be named: the
// player is told so (with an empty name) instead of seeing a dialog that can do nothing.
TEST_F(CheckBeforeInstallTest, NoCompletePatchIsRefusedWithoutAName) {
  const PatchInfo layoutPatch = game_.Patch();
  PatchInfo noSize = layoutPatch;
  noSize.Size = 0;
  PatchInfo noCrc = layoutPatch;
  noCrc.Crc = 0;
  const PatchInfo empty{layoutPatch.srcVersion, layoutPatch.destVersion, 0, 0};
  const PatchInfo fromElsewhere{L"1.0.0.6", L"1.0.0.7", 1, 1};
  for (const PatchInfo& patch : {noSize, noCrc, empty, fromElsewhere}) {
    game_.WriteClientPatches({patch});
    ExpectNotMatch(L"");
  }
}

class VersionCaseTest : public CheckBeforeInstallTest {
 protected:
  VersionCaseTest() : CheckBeforeInstallTest({.clientVersion = L"v1.0-Beta"}) {}
};

TEST_F(VersionCaseTest, VersionsMatchExactly) {
  EXPECT_EQ(Check(), 1);
  for (const wchar_t* installed : {L"V1.0-Beta", L"v1.0-beta", L"v1.0-Beta ", L"\nv1.0-Beta\n"}) {
    game_.SetClientVersion(installed);
    ExpectNotMatch(L"");
  }
}

TEST_F(CheckBeforeInstallTest, TextsThatDoNotFitGiveEmptyBoxes) {
  ASSERT_EQ(std::remove(platform::NativePath(game_.PackagePath()).c_str()), 0);
  for (const wchar_t* notMatch : {L"no place for the name", L"%1% and %2%", L"broken %"}) {
    game_.SetQuarnelText(L"NotMatch", notMatch);
    EXPECT_EQ(Check(), 0);
    EXPECT_EQ(OnlyBox(), L"[Error]: ");
  }
  game_.RemoveQuarnelText(L"Error");
  EXPECT_EQ(Check(), 0);
  EXPECT_EQ(OnlyBox(), L": ");
}

}  // namespace
