#include "platform/wx/keyboard_focus.h"

#include <wx/app.h>
#include <wx/toplevel.h>

namespace platform {

namespace {

void RaiseNewestShownTopLevel() {
  wxWindow* newest = nullptr;
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->IsShown() && !window->IsBeingDeleted()) newest = window;
  }
  if (newest) newest->Raise();
}

}  // namespace

void KeepKeyboardFocus(wxWindow& window) {
  window.Bind(wxEVT_SHOW, [&window](wxShowEvent& event) {
    event.Skip();
    // Raising asks the display for the focus; it must wait until the window is mapped.
    if (event.IsShown()) {
      window.CallAfter([&window] { window.Raise(); });
    } else {
      wxTheApp->CallAfter([] { RaiseNewestShownTopLevel(); });
    }
  });
}

}  // namespace platform
