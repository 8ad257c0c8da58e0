#include "ui/run_main_dialog.h"

// Placeholder until the dialog exists: start-up ends where the dialog would open.
void RunMainDialog(CQuarnelApp&) {}
