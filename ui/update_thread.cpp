#include "ui/update_thread.h"

#include <boost/thread/thread.hpp>

#include "config/text_sets.h"
#include "engine/updater.h"
#include "ui/quarnel_dlg.h"

namespace {

void RunWorker(CUpdater* updater, const PatchInfo& patch,
               const std::shared_ptr<std::atomic<bool>>& workerActive) {
  updater->run(patch);
  workerActive->store(false);
}

}  // namespace

bool StartUpdateThread(CUpdater& updater, const PatchInfo& patch,
                       std::shared_ptr<std::atomic<bool>> workerActive) {
  try {
    // The thread keeps its own copies of the arguments until it ends.
    boost::thread worker(RunWorker, &updater, patch, std::move(workerActive));
    worker.detach();
    return true;
  } catch (const boost::thread_resource_error&) {
    return false;
  }
}

void CQuarnelDlg::OnInstallClicked() {
  // A second click before the first worker has ended is ignored.
  if (m_workerActive->exchange(true)) return;
  if (StartUpdateThread(CUpdater::Instance(), m_patch, m_workerActive)) return;
  m_workerActive->store(false);
  platform::Windows().MessageBox(LauncherText(L"UpdateFailedPleaseRetry"), LauncherText(L"Note"),
                                 m_window);
}
