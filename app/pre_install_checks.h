#pragma once
// Before the dialog opens: room on the installer's drive, a manifest patch from the
// installed client version, and its package beside the installer, complete and intact.

class CQuarnelApp;

// 1 when every check passed and app.PatchInfo holds the chosen patch; 0 when a check
// failed and its message box has been shown.
int CheckBeforeInstall(CQuarnelApp& app);
