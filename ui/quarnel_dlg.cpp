#include "ui/quarnel_dlg.h"

#include "engine/updater.h"
#include "resources/dialog_template_102.h"

namespace {
constexpr std::uint32_t kRefreshPeriodMilliseconds = 100;
}  // namespace

CQuarnelDlg::CQuarnelDlg(const PatchInfo& patch) : m_patch(patch) {}

int CQuarnelDlg::DoModal() { return platform::Windows().RunModal(MainDialogTemplate(), *this); }

void CQuarnelDlg::DoDataExchange(platform::DialogWindow& window) {
  m_installButton.Bind(window, kInstallButtonId);
  m_closeButton.Bind(window, kCloseButtonId);
  m_logList.Bind(window, kLogListControlId);
  m_progress.Bind(window, kProgressBarId);
}

void CQuarnelDlg::OnInitDialog(platform::DialogWindow& window) {
  m_window = &window;
  DoDataExchange(window);
  window.SetIcon();
  m_timer = window.StartTimer(kRefreshPeriodMilliseconds);
  CUpdater::Instance().AttachDialog(window.Channel(), &window);
  ApplyTexts();
}

void CQuarnelDlg::OnCommand(int controlId) {
  if (controlId == kInstallButtonId) OnInstallClicked();
  if (controlId == kCloseButtonId) OnCloseClicked();
}

void CQuarnelDlg::OnTimer() { RefreshProgress(); }

void CQuarnelDlg::OnPostedMessage(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  if (message == CUpdater::Instance().messageId) OnUpdaterThreadEvent(wParam, lParam);
}

void CQuarnelDlg::OnDestroy() {
  // From here on the worker's reports go nowhere.
  CUpdater::Instance().DetachDialog();
  if (m_timer != 0) m_window->StopTimer(m_timer);
  m_window = nullptr;
}

void CQuarnelDlg::OnCancel() { m_window->EndDialog(platform::kIdCancel); }

void CQuarnelDlg::SetStatusText(const std::wstring& text) {
  m_window->SetControlText(kStatusTextControlId, text);
}
