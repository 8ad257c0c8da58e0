#include "platform/wx/message_box_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/wx/keyboard_focus.h"

namespace platform {

namespace {
constexpr int kTextWrapWidth = 420;
constexpr int kMinimumWidth = 260;
constexpr int kMargin = 12;
}  // namespace

MessageBoxDialog::MessageBoxDialog(wxWindow* owner, const std::wstring& text,
                                   const std::wstring& caption)
    : wxDialog(owner, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  auto* message = new wxStaticText(this, wxID_ANY, text);
  message->Wrap(kTextWrapWidth);
  auto* ok = new wxButton(this, wxID_OK);
  ok->SetDefault();
  SetEscapeId(wxID_OK);

  auto* layout = new wxBoxSizer(wxVERTICAL);
  layout->SetMinSize(kMinimumWidth, -1);
  layout->Add(message, wxSizerFlags().Border(wxALL, kMargin));
  layout->Add(ok, wxSizerFlags().Center().Border(wxLEFT | wxRIGHT | wxBOTTOM, kMargin));
  SetSizerAndFit(layout);
  CentreOnScreen();
  ok->SetFocus();
  KeepKeyboardFocus(*this);
}

void MessageBoxDialog::ShowModeless(std::function<void()> onDismissed) {
  onDismissed_ = std::move(onDismissed);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { Dismiss(); }, wxID_OK);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Dismiss(); });
  Show();
}

void MessageBoxDialog::Dismiss() {
  if (!onDismissed_) return;
  std::function<void()> dismissed = std::move(onDismissed_);
  onDismissed_ = nullptr;
  Hide();
  Destroy();
  dismissed();
}

}  // namespace platform
