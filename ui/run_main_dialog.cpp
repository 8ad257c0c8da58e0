#include "ui/run_main_dialog.h"

#include "ui/quarnel_dlg.h"

void RunMainDialog(const PatchInfo& patch) {
  CQuarnelDlg dialog(patch);
  dialog.DoModal();
}
