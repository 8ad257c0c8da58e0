#include "ui/update_thread.h"

#include <boost/thread/thread.hpp>

#include "config/text_sets.h"
#include "engine/updater.h"
#include "ui/quarnel_dlg.h"

namespace {

void RunWorker(CUpdater* updater, const PatchInfo& patch,
               const std::shared_ptr<std::atomic<bool>>& updateLaunched) {
  updater->run(patch);
  // A run that reported nothing (an incomplete patch) leaves Install usable; any other
  // run is the program's one update.
  if (updater->state.load(std::memory_order_acquire) == Idle) updateLaunched->store(false);
}

}  // namespace

bool StartUpdateThread(CUpdater& updater, const PatchInfo& patch,
                       std::shared_ptr<std::atomic<bool>> updateLaunched) {
  try {
    // The thread keeps its own copies of the arguments until it ends.
    boost::thread worker(RunWorker, &updater, patch, std::move(updateLaunched));
    worker.detach();
    return true;
  } catch (const boost::thread_resource_error&) {
    return false;
  }
}

void CQuarnelDlg::OnInstallClicked() {
  // Clicks after the first, before its Started report disables Install, are ignored.
  if (m_updateLaunched->exchange(true)) return;
  if (StartUpdateThread(CUpdater::Instance(), m_patch, m_updateLaunched)) return;
  m_updateLaunched->store(false);
  platform::Windows().MessageBox(LauncherText(L"UpdateFailedPleaseRetry"), LauncherText(L"Note"),
                                 m_window);
}
