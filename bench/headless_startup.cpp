// The installer's start-up on the headless window system, for timing the pre-install
// check without the cost of a window toolkit: copied into a game's updates folder and
// run as the installer would be, it ends as soon as the dialog is shown. Exit status 0
// when the dialog was reached, 1 when start-up stopped before it.
#include <cstdlib>

#include "app/quarnel_app.h"
#include "platform/headless/headless_window_system.h"

int main() {
  const platform::ScopedHeadlessWindows windows;
  windows->SetDialogDriver([](platform::HeadlessDialog&) {});
  TheApp().InitInstance();
  return windows->DialogsRun() == 1 ? EXIT_SUCCESS : EXIT_FAILURE;
}
