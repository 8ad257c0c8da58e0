// Pressing Install on the headless dialog with the real worker: one detached worker per
// program run, its reports reaching the dialog in order.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "config/launcher_config.h"
#include "config/quarnel_config.h"
#include "engine/game_folders.h"
#include "engine/updater.h"
#include "platform/headless/headless_window_system.h"
#include "resources/dialog_template_102.h"
#include "support/game_layout.h"
#include "ui/quarnel_dlg.h"

namespace {

using namespace std::chrono_literals;
using platform::HeadlessDialog;

// The dialog's events, passed on to it, with the state codes it was sent.
class RecordingDialog : public platform::DialogEvents {
 public:
  explicit RecordingDialog(const PatchInfo& patch) : dialog_(patch) {}

  void OnInitDialog(platform::DialogWindow& window) override { dialog_.OnInitDialog(window); }
  void OnCommand(int controlId) override { dialog_.OnCommand(controlId); }
  bool OnCloseRequest() override { return dialog_.OnCloseRequest(); }
  void OnTimer() override { dialog_.OnTimer(); }
  void OnPostedMessage(std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) override {
    codes.push_back(wParam);
    dialog_.OnPostedMessage(message, wParam, lParam);
  }
  void OnDestroy() override { dialog_.OnDestroy(); }

  std::vector<std::uintptr_t> codes;

 private:
  CQuarnelDlg dialog_;
};

class InstallClickTest : public testing::Test {
 protected:
  InstallClickTest() : process(game) {
    EXPECT_TRUE(LoadQuarnelConfig(QuarnelConfig()));
    EXPECT_TRUE(LocateGameRoot(L"updates", ProgramFolder()));
    EXPECT_TRUE(LoadLauncherConfig(LauncherConfig::Instance()));
  }

  int Run(RecordingDialog& dialog, const platform::HeadlessWindowSystem::DialogDriver& driver) {
    windows->SetDialogDriver(driver);
    return windows->RunModal(MainDialogTemplate(), dialog);
  }

  testing_support::GameLayout game;
  testing_support::InstallerProcess process;
  platform::ScopedHeadlessWindows windows;
};

// The layout's package is not an archive: the worker fails before touching the game.
TEST_F(InstallClickTest, EnterStartsOneWorkerWhoseFailureLeavesOnlyClose) {
  RecordingDialog recorder(game.Patch());
  Run(recorder, [&](HeadlessDialog& dialog) {
    ASSERT_TRUE(dialog.PressEnter());
    // Clicks before the Started report has disabled Install start nothing more.
    ASSERT_TRUE(dialog.Click(kInstallButtonId));
    ASSERT_TRUE(dialog.PumpUntil(
        [&] { return !recorder.codes.empty() && recorder.codes.back() == PrepareFailed; }));
    dialog.PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(recorder.codes, (std::vector<std::uintptr_t>{Started, Unpacking, PrepareFailed}));
    EXPECT_FALSE(dialog.IsEnabled(kInstallButtonId));
    EXPECT_TRUE(dialog.IsEnabled(kCloseButtonId));
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"(UpdateFailedPleaseRetry)");
    EXPECT_TRUE(dialog.Click(kCloseButtonId));
    EXPECT_TRUE(dialog.HasEnded());
  });
}

TEST_F(InstallClickTest, IncompletePatchChangesNothingAndInstallStaysUsable) {
  PatchInfo incomplete = game.Patch();
  incomplete.Size = 0;
  RecordingDialog recorder(incomplete);
  Run(recorder, [&](HeadlessDialog& dialog) {
    for (int click = 0; click < 3; ++click) {
      ASSERT_TRUE(dialog.Click(kInstallButtonId));
      dialog.PumpUntil([] { return false; }, 200ms);
      EXPECT_TRUE(recorder.codes.empty());
      EXPECT_TRUE(dialog.IsEnabled(kInstallButtonId));
      EXPECT_TRUE(dialog.IsEnabled(kCloseButtonId));
      EXPECT_EQ(dialog.Text(kStatusTextControlId), L"[TextContent]");
    }
  });
}

// The system refusing a new thread (here: no address space left for its stack) gives the
// configured retry message and leaves Install usable.
TEST_F(InstallClickTest, ThreadThatCannotStartLeavesInstallUsable) {
  // A fresh process: one that ran threads before may reuse a cached stack.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RecordingDialog recorder(game.Patch());
        bool installUsable = false;
        Run(recorder, [&](HeadlessDialog& dialog) {
          std::ifstream statm("/proc/self/statm");
          rlim_t pages = 0;
          statm >> pages;
          const rlim_t limit = pages * sysconf(_SC_PAGESIZE) + (2u << 20);
          const rlimit addressSpace{limit, limit};
          setrlimit(RLIMIT_AS, &addressSpace);
          dialog.Click(kInstallButtonId);
          installUsable = dialog.IsEnabled(kInstallButtonId);
        });
        const auto boxes = windows->Boxes();
        const bool told = boxes.size() == 1 && boxes[0].text == L"(UpdateFailedPleaseRetry)";
        std::_Exit(told && installUsable && recorder.codes.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
