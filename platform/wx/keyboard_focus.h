#pragma once
// Without a window manager nobody hands the keyboard focus to a new window or back to the
// remaining one when a box goes away; top-level windows ask the display for it themselves.

class wxWindow;

namespace platform {

// When window is shown it takes the focus; when it is hidden, the newest other shown
// top-level window takes it back.
void KeepKeyboardFocus(wxWindow& window);

}  // namespace platform
