// The main dialog's logic on the headless window system: texts, enabled states per
// period, progress, the worker's state messages and the close rule. The test thread is
// both the user-interface thread and, through CUpdater's reports, the worker.
#include <gtest/gtest.h>

#include "config/launcher_config.h"
#include "config/quarnel_config.h"
#include "engine/updater.h"
#include "platform/headless/headless_window_system.h"
#include "resources/dialog_template_102.h"
#include "ui/quarnel_dlg.h"

namespace {

using platform::HeadlessDialog;

class QuarnelDlgTest : public testing::Test {
 protected:
  QuarnelDlgTest() {
    SetQuarnelText(L"Caption", L"Vostrand 手动更新 ");
    SetQuarnelText(L"TextContent", L"准备安装");
    SetQuarnelText(L"OKBtn", L"安装");
    SetQuarnelText(L"CancelBtn", L"关闭");
    SetQuarnelText(L"Installing_Check", L"checking %1% of %2%");
    SetQuarnelText(L"Installing_Update", L"updating %1% of %2%");
    for (const wchar_t* key : {L"DecompressUpdatePack", L"UpdateSuccessfully",
                               L"UpdateFailedPleaseRetry", L"WarningForClosing", L"Note"})
      LauncherConfig::Instance().tree.put(std::wstring(L"Launcher.TextSet.") + key,
                                          std::wstring(L"launcher ") + key);
    SetProgress(Idle, 0, 0);
  }

  static void SetQuarnelText(const std::wstring& key, const std::wstring& text) {
    QuarnelConfig().put(L"Quarnel.TextSet." + key, text);
  }

  // The shared progress record as the worker leaves it.
  static void SetProgress(UpdaterState state, std::uint32_t checked, std::uint32_t updated,
                          std::uint32_t total = 10) {
    CUpdater& updater = CUpdater::Instance();
    updater.checkedCount = checked;
    updater.updatedCount = updated;
    updater.checkTotal = total;
    updater.updateTotal = total;
    updater.state = state;
  }

  // A state report as the worker makes it, handled by the dialog's loop.
  static void Report(HeadlessDialog& dialog, UpdaterState state) {
    CUpdater::Instance().Notify(state);
    dialog.Pump();
  }

  // Opens the dialog, lets driver act, and answers how the dialog ended.
  int Run(const std::function<void(HeadlessDialog&)>& driver) {
    windows->SetDialogDriver(driver);
    CQuarnelDlg dialog(patch);
    return dialog.DoModal();
  }

  platform::ScopedHeadlessWindows windows;
  PatchInfo patch{L"1.0.0.1", L"1.0.0.2", 1234, 5678};
};

TEST_F(QuarnelDlgTest, OpensWithConfiguredTextsAndAnEmptyProgress) {
  Run([](HeadlessDialog& dialog) {
    EXPECT_EQ(dialog.Title(), L"Vostrand 手动更新 1.0.0.1-1.0.0.2");
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"准备安装");
    EXPECT_EQ(dialog.Text(kInstallButtonId), L"安装");
    EXPECT_EQ(dialog.Text(kCloseButtonId), L"关闭");
    EXPECT_TRUE(dialog.Lines(kLogListControlId).empty());
    EXPECT_EQ(dialog.ProgressMinimum(kProgressBarId), 0);
    EXPECT_EQ(dialog.ProgressMaximum(kProgressBarId), 100);
    EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 0);
    EXPECT_EQ(dialog.TimerPeriod(), 100u);
    EXPECT_TRUE(dialog.HasIcon());
    EXPECT_TRUE(dialog.IsEnabled(kInstallButtonId));
    EXPECT_TRUE(dialog.IsEnabled(kCloseButtonId));
  });
}

TEST_F(QuarnelDlgTest, IncompletePatchGivesTheCaptionAlone) {
  patch.Crc = 0;
  Run([](HeadlessDialog& dialog) { EXPECT_EQ(dialog.Title(), L"Vostrand 手动更新 "); });
}

TEST_F(QuarnelDlgTest, SuccessfulRunMovesThroughEveryPeriod) {
  Run([](HeadlessDialog& dialog) {
    SetProgress(Idle, 0, 0);
    Report(dialog, Started);
    EXPECT_FALSE(dialog.IsEnabled(kInstallButtonId));
    EXPECT_FALSE(dialog.IsEnabled(kCloseButtonId));
    EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 0);

    Report(dialog, Unpacking);
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"launcher DecompressUpdatePack");

    Report(dialog, Counted);
    EXPECT_EQ(dialog.ProgressMaximum(kProgressBarId), 20);

    Report(dialog, Checking);
    SetProgress(Checking, 7, 0);
    dialog.Tick();
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"checking 7 of 10");
    EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 7);

    Report(dialog, Applying);
    SetProgress(Applying, 10, 4);
    dialog.Tick();
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"updating 4 of 10");
    EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 14);
    EXPECT_FALSE(dialog.IsEnabled(kCloseButtonId));

    SetProgress(Succeeded, 10, 10);
    Report(dialog, Succeeded);
    EXPECT_FALSE(dialog.IsEnabled(kInstallButtonId));
    EXPECT_TRUE(dialog.IsEnabled(kCloseButtonId));
    EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 20);
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"launcher UpdateSuccessfully");
  });
}

TEST_F(QuarnelDlgTest, FailureLeavesOnlyCloseAndKeepsThePosition) {
  for (UpdaterState failure : {FileStepFailed, PrepareFailed}) {
    Run([failure](HeadlessDialog& dialog) {
      Report(dialog, Started);
      Report(dialog, Counted);
      SetProgress(Checking, 2, 0);
      dialog.Tick();
      SetProgress(failure, 3, 0);
      Report(dialog, failure);
      dialog.Tick();
      EXPECT_FALSE(dialog.IsEnabled(kInstallButtonId));
      EXPECT_TRUE(dialog.IsEnabled(kCloseButtonId));
      EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 2);
      EXPECT_EQ(dialog.Text(kStatusTextControlId), L"launcher UpdateFailedPleaseRetry");
    });
  }
}

TEST_F(QuarnelDlgTest, CodesOutsideTheTableAndThoseOnlyForTheTimerChangeNothing) {
  Run([](HeadlessDialog& dialog) {
    SetProgress(Idle, 5, 5);
    for (std::uintptr_t code : {0u, 4u, 5u, 9u}) {
      dialog.Channel()->Post(CUpdater::Instance().messageId, code, 0);
      dialog.Pump();
      EXPECT_TRUE(dialog.IsEnabled(kInstallButtonId)) << code;
      EXPECT_TRUE(dialog.IsEnabled(kCloseButtonId)) << code;
      EXPECT_EQ(dialog.Text(kStatusTextControlId), L"准备安装") << code;
      EXPECT_EQ(dialog.ProgressMaximum(kProgressBarId), 100) << code;
      EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 0) << code;
    }
  });
}

TEST_F(QuarnelDlgTest, BadCountPatternsGiveAnEmptyStatusWhileThePositionMoves) {
  for (const wchar_t* pattern : {L"no placeholders", L"%1% %2% %3%", L"%1% of %"}) {
    SetQuarnelText(L"Installing_Check", pattern);
    Run([pattern](HeadlessDialog& dialog) {
      Report(dialog, Counted);
      SetProgress(Checking, 6, 0);
      dialog.Tick();
      EXPECT_EQ(dialog.Text(kStatusTextControlId), L"") << pattern;
      EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 6) << pattern;
    });
  }
}

TEST_F(QuarnelDlgTest, EmptyIndexGivesAnEmptyRangeAndZeroCounts) {
  Run([](HeadlessDialog& dialog) {
    SetProgress(Counted, 0, 0, 0);
    Report(dialog, Counted);
    EXPECT_EQ(dialog.ProgressMaximum(kProgressBarId), 0);
    SetProgress(Checking, 0, 0, 0);
    dialog.Tick();
    EXPECT_EQ(dialog.Text(kStatusTextControlId), L"checking 0 of 0");
    SetProgress(Succeeded, 0, 0, 0);
    Report(dialog, Succeeded);
    EXPECT_EQ(dialog.ProgressPosition(kProgressBarId), 0);
  });
}

// Every way of closing, in every state: refused with the owned warning exactly while the
// worker unpacks or applies.
TEST_F(QuarnelDlgTest, CloseIsRefusedOnlyWhileUnpackingOrApplying) {
  const std::function<void(HeadlessDialog&)> closers[] = {
      [](HeadlessDialog& dialog) { dialog.Click(kCloseButtonId); },
      [](HeadlessDialog& dialog) { dialog.PressEscape(); },
      [](HeadlessDialog& dialog) { dialog.RequestClose(); },
  };
  for (std::uint32_t state = Idle; state <= PrepareFailed; ++state) {
    for (const auto& close : closers) {
      const std::size_t boxesBefore = windows->Boxes().size();
      bool ended = false;
      platform::DialogWindow* window = nullptr;
      const int result = Run([&](HeadlessDialog& dialog) {
        window = &dialog;
        SetProgress(static_cast<UpdaterState>(state), 0, 0);
        close(dialog);
        ended = dialog.HasEnded();
      });
      const bool blocked = state == Unpacking || state == Applying;
      EXPECT_EQ(ended, !blocked) << "state " << state;
      const auto boxes = windows->Boxes();
      ASSERT_EQ(boxes.size(), boxesBefore + (blocked ? 1 : 0)) << "state " << state;
      if (blocked) {
        EXPECT_EQ(boxes.back().text, L"launcher WarningForClosing");
        EXPECT_EQ(boxes.back().caption, L"launcher Note");
        EXPECT_EQ(boxes.back().owner, window);
      } else {
        EXPECT_EQ(result, platform::kIdCancel);
      }
    }
  }
}

TEST_F(QuarnelDlgTest, DestroyedDialogIsNoLongerReachedByTheWorker) {
  Run([](HeadlessDialog& dialog) { dialog.Click(kCloseButtonId); });
  CUpdater::Instance().Notify(Started);
  CUpdater::Instance().AddLogLine(L"nowhere");
  SUCCEED();
}

}  // namespace
