// The dialog's reactions to the worker: one-off actions per reported state, and the
// count text and progress position refreshed on every timer tick.
#include "config/text_sets.h"
#include "engine/updater.h"
#include "ui/quarnel_dlg.h"

namespace {

std::uint32_t Read(const std::atomic<std::uint32_t>& value) {
  return value.load(std::memory_order_acquire);
}

std::int32_t Total(const CUpdater& updater) {
  return static_cast<std::int32_t>(Read(updater.checkTotal) + Read(updater.updateTotal));
}

}  // namespace

void CQuarnelDlg::ShowEnded(const std::wstring& statusText) {
  m_installButton.Enable(false);
  m_closeButton.Enable(true);
  SetStatusText(statusText);
}

std::intptr_t CQuarnelDlg::OnUpdaterThreadEvent(std::uintptr_t wParam, std::intptr_t) {
  const CUpdater& updater = CUpdater::Instance();
  switch (wParam) {
    case Started:
      m_installButton.Enable(false);
      m_closeButton.Enable(false);
      m_progress.SetPos(0);
      break;
    case Unpacking:
      SetStatusText(LauncherText(L"DecompressUpdatePack"));
      break;
    case Counted:
      m_progress.SetRange32(0, Total(updater));
      break;
    case Succeeded:
      m_progress.SetPos(Total(updater));
      ShowEnded(LauncherText(L"UpdateSuccessfully"));
      break;
    case FileStepFailed:
    case PrepareFailed:
      ShowEnded(LauncherText(L"UpdateFailedPleaseRetry"));
      break;
    default:
      break;
  }
  return 0;
}

void CQuarnelDlg::RefreshProgress() {
  const CUpdater& updater = CUpdater::Instance();
  switch (Read(updater.state)) {
    case Checking:
      SetStatusText(FormatText(QuarnelText(L"Installing_Check"), Read(updater.checkedCount),
                               Read(updater.checkTotal)));
      m_progress.SetPos(static_cast<std::int32_t>(Read(updater.checkedCount)));
      break;
    case Applying:
      SetStatusText(FormatText(QuarnelText(L"Installing_Update"), Read(updater.updatedCount),
                               Read(updater.updateTotal)));
      m_progress.SetPos(
          static_cast<std::int32_t>(Read(updater.checkedCount) + Read(updater.updatedCount)));
      break;
    default:
      break;
  }
}
