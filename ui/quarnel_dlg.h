#pragma once
// The installer's only window: status text, progress bar, log list, Install and Close.
// It holds no update logic: Install starts the worker, and the worker's reports (state
// messages, the shared progress record) become texts, positions and enabled states.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "config/patch_info.h"
#include "platform/window.h"
#include "ui/dialog_controls.h"

class CQuarnelDlg : public platform::DialogEvents {
 public:
  // patch: the application's record; read for the title, copied when Install is pressed.
  explicit CQuarnelDlg(const PatchInfo& patch);

  // Runs the dialog until it closes; answers how it ended.
  int DoModal();

  void SetStatusText(const std::wstring& text);

  // Texts and close confirmation.
  void ApplyTexts();
  bool IsCloseBlocked();
  void OnCloseClicked();

  // Worker events and progress.
  std::intptr_t OnUpdaterThreadEvent(std::uintptr_t wParam, std::intptr_t lParam);
  void RefreshProgress();

  void OnInstallClicked();

  // platform::DialogEvents
  void OnInitDialog(platform::DialogWindow& window) override;
  void OnCommand(int controlId) override;
  bool OnCloseRequest() override;
  void OnTimer() override;
  void OnPostedMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnDestroy() override;

 private:
  void DoDataExchange(platform::DialogWindow& window);
  void OnCancel();
  void ShowEnded(const std::wstring& statusText);

  std::uintptr_t m_timer = 0;
  ListControl m_logList;
  ProgressControl m_progress;
  ButtonControl m_installButton;
  ButtonControl m_closeButton;

  const PatchInfo& m_patch;
  platform::DialogWindow* m_window = nullptr;
  // Set by the Install click that starts the update: one worker per program run.
  std::shared_ptr<std::atomic<bool>> m_updateLaunched = std::make_shared<std::atomic<bool>>(false);
};
