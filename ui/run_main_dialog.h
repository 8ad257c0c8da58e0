#pragma once
// The last step of start-up: the main dialog, run modally until it closes.
#include "config/patch_info.h"

// patch: the application's record, complete once the pre-install checks have passed.
void RunMainDialog(const PatchInfo& patch);
