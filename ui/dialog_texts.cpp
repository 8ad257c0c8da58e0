// The dialog's configured texts and its close confirmation.
#include "config/text_sets.h"
#include "engine/updater.h"
#include "ui/quarnel_dlg.h"

void CQuarnelDlg::ApplyTexts() {
  m_window->SetTitle(QuarnelText(L"Caption") + PackageBaseName(m_patch));
  SetStatusText(QuarnelText(L"TextContent"));
  m_installButton.SetCaption(QuarnelText(L"OKBtn"));
  m_closeButton.SetCaption(QuarnelText(L"CancelBtn"));
  m_logList.ResetContent();
  m_progress.SetRange(0, 100);
  m_progress.SetPos(0);
}

bool CQuarnelDlg::IsCloseBlocked() {
  const std::uint32_t state = CUpdater::Instance().state.load(std::memory_order_acquire);
  if (state != Unpacking && state != Applying) return false;
  platform::Windows().MessageBox(LauncherText(L"WarningForClosing"), LauncherText(L"Note"),
                                 m_window);
  return true;
}

void CQuarnelDlg::OnCloseClicked() {
  if (IsCloseBlocked()) return;
  OnCancel();
}

// The close box: refused like the Close button; when not refused the dialog ends as if
// Close had been pressed.
bool CQuarnelDlg::OnCloseRequest() { return !IsCloseBlocked(); }
