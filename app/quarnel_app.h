#pragma once
// The application object: its one operation, InitInstance, is the program's whole life.
#include "config/patch_info.h"

class CQuarnelApp {
 public:
  // Start-up: finds the game, loads the configurations, checks the package and runs the
  // main dialog. Any failing step ends it, after a message box or silently. Always false:
  // the program ends when it returns.
  bool InitInstance();

  // The patch chosen by the pre-install checks; empty until they all passed.
  ::PatchInfo PatchInfo;

 private:
  // Everything before the dialog; false when a step failed and start-up must stop.
  bool PrepareInstall();
};

// The process-wide application object.
CQuarnelApp& TheApp();
