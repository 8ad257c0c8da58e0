#pragma once
// A message box with a text, a caption and one OK button, no icon. Return and Escape
// dismiss it, and it takes the keyboard focus even where no window manager gives it.
#include <functional>
#include <string>

#include <wx/dialog.h>

namespace platform {

class MessageBoxDialog : public wxDialog {
 public:
  MessageBoxDialog(wxWindow* owner, const std::wstring& text, const std::wstring& caption);

  // Shows the box without blocking anything; onDismissed runs when it is dismissed, then
  // the box destroys itself. Create it with new: the toolkit owns modeless windows.
  void ShowModeless(std::function<void()> onDismissed);

 private:
  void Dismiss();

  std::function<void()> onDismissed_;
};

}  // namespace platform
