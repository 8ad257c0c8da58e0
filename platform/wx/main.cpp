// The quarnel executable: the wxWidgets window system is installed (it starts the toolkit,
// without a main loop of its own, when start-up first needs it), and the application's
// start-up is the whole run.
#include <cstdio>
#include <cstdlib>

#include <wx/app.h>

#include "app/quarnel_app.h"
#include "platform/wx/wx_window_system.h"

wxIMPLEMENT_APP_NO_MAIN(wxApp);

int main(int argc, char** argv) {
  // Scroll bars always shown, as the dialog's template asks, not only while hovered.
  setenv("GTK_OVERLAY_SCROLLING", "0", 1);
  platform::InstallWindowSystem(platform::MakeWxWindowSystem(argc, argv));
  TheApp().InitInstance();
  // A worker still running when the dialog closes ends with the process: leave at once,
  // without the exit-time destructors of objects it may still be using.
  std::fflush(nullptr);
  std::_Exit(EXIT_SUCCESS);
}
