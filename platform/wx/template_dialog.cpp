#include "platform/wx/template_dialog.h"

#include <stdexcept>

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/icon.h>
#include <wx/stattext.h>

#include "platform/wx/keyboard_focus.h"
#include "platform/wx/log_list.h"
#include "platform/wx/progress_bar.h"
#include "resources/app_icon.h"

namespace platform {

namespace {

constexpr std::uintptr_t kTimerHandle = 1;

long WxFrameStyle(std::uint32_t style) {
  long frame = 0;
  if (style & kCaption) frame |= wxCAPTION;
  if (style & kSystemMenu) frame |= wxSYSTEM_MENU | wxCLOSE_BOX;
  return frame;
}

long WxControlStyle(const ControlTemplate& control) {
  long style = 0;
  if (control.style & kBorder) style |= wxBORDER_SIMPLE;
  switch (control.kind) {
    case ControlKind::StaticText:
      style |= wxALIGN_LEFT | wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END;
      break;
    case ControlKind::ListBox:
      if (control.style & kHorizontalScroll) style |= wxHSCROLL;
      if (control.style & kVerticalScroll) style |= wxVSCROLL;
      break;
    default:
      break;
  }
  return style;
}

// The average character of a font as the dialog-unit system measures it.
wxSize AverageCharSize(wxWindow& window) {
  wxClientDC dc(&window);
  dc.SetFont(window.GetFont());
  const wxSize letters = dc.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {(letters.GetWidth() / 26 + 1) / 2, dc.GetCharHeight()};
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, DialogEvents& events)
    : wxDialog(nullptr, wxID_ANY, dialogTemplate.title, wxDefaultPosition, wxDefaultSize,
               WxFrameStyle(dialogTemplate.style)),
      events_(events),
      timer_(this) {
  SetFont(wxFont(wxFontInfo(dialogTemplate.fontPointSize).FaceName(dialogTemplate.fontName)));
  CreateControls(dialogTemplate);
  // Escape and the close box are the dialog's events' business, not the toolkit's.
  SetEscapeId(wxID_NONE);
  Bind(wxEVT_CHAR_HOOK, &TemplateDialog::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &TemplateDialog::OnClose, this);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { events_.OnCommand(event.GetId()); });
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { events_.OnTimer(); });
  channel_ = std::make_shared<QueuedDialogChannel>(
      events_, [this](std::function<void()> task) { CallAfter(std::move(task)); });
  KeepKeyboardFocus(*this);
}

TemplateDialog::~TemplateDialog() { channel_->Close(); }

void TemplateDialog::CreateControls(const DialogTemplate& dialogTemplate) {
  const wxSize unit = AverageCharSize(*this);
  auto pixels = [&](int x, int y) {
    return wxSize(DialogUnitsToPixelsX(x, unit.GetWidth()),
                  DialogUnitsToPixelsY(y, unit.GetHeight()));
  };
  SetClientSize(pixels(dialogTemplate.width, dialogTemplate.height));
  for (const ControlTemplate& control : dialogTemplate.controls) {
    const wxSize position = pixels(control.x, control.y);
    const wxPoint at(position.GetWidth(), position.GetHeight());
    const wxSize size = pixels(control.width, control.height);
    wxWindow* created = CreateControl(control, at, size);
    if (!(control.style & kTabStop)) created->DisableFocusFromKeyboard();
  }
}

// Child controls belong to the dialog, which destroys them.
wxWindow* TemplateDialog::CreateControl(const ControlTemplate& control, const wxPoint& at,
                                        const wxSize& size) {
  const long style = WxControlStyle(control);
  switch (control.kind) {
    case ControlKind::PushButton:
      return new wxButton(this, control.id, control.text, at, size, style);
    case ControlKind::DefaultPushButton: {
      auto* button = new wxButton(this, control.id, control.text, at, size, style);
      button->SetDefault();
      button->SetFocus();
      return button;
    }
    case ControlKind::StaticText:
      return new wxStaticText(this, control.id, control.text, at, size, style);
    case ControlKind::ListBox:
      return new LogList(this, control.id, at, size, style);
    case ControlKind::ProgressBar:
      return new ProgressBar(this, control.id, at, size, style);
  }
  throw std::invalid_argument("unknown control kind");
}

int TemplateDialog::Run() {
  events_.OnInitDialog(*this);
  if (!result_) {
    CentreOnScreen();
    Show();
    wxGUIEventLoop loop;
    loop_ = &loop;
    loop.Run();
    loop_ = nullptr;
    Hide();
  }
  timer_.Stop();
  events_.OnDestroy();
  channel_->Close();
  return result_.value_or(0);
}

void TemplateDialog::SetTitle(const std::wstring& title) { wxDialog::SetTitle(title); }

void TemplateDialog::SetControlText(int controlId, const std::wstring& text) {
  if (wxWindow* control = FindWindow(controlId)) control->SetLabel(text);
}

void TemplateDialog::EnableControl(int controlId, bool enabled) {
  wxWindow* control = FindWindow(controlId);
  if (!control) return;
  const bool hadFocus = FindFocus() == control;
  control->Enable(enabled);
  if (hadFocus && !enabled) FocusFirstEnabledControl();
}

// A disabled control loses the focus, and with it the keys the dialog acts on (Escape):
// the focus moves on in tab order, as dialog navigation would move it.
void TemplateDialog::FocusFirstEnabledControl() {
  for (wxWindow* child : GetChildren()) {
    if (child->IsEnabled() && child->AcceptsFocus()) {
      child->SetFocus();
      return;
    }
  }
}

void TemplateDialog::ListClear(int controlId) {
  if (auto* list = dynamic_cast<LogList*>(FindWindow(controlId))) list->Clear();
}

void TemplateDialog::ListAppend(int controlId, const std::wstring& line) {
  if (auto* list = dynamic_cast<LogList*>(FindWindow(controlId))) list->Append(line);
}

void TemplateDialog::SetProgressRange16(int controlId, std::uint16_t minimum,
                                        std::uint16_t maximum) {
  SetProgressRange32(controlId, minimum, maximum);
}

void TemplateDialog::SetProgressRange32(int controlId, std::int32_t minimum, std::int32_t maximum) {
  if (auto* bar = dynamic_cast<ProgressBar*>(FindWindow(controlId)))
    bar->SetRange(minimum, maximum);
}

void TemplateDialog::SetProgressPosition(int controlId, std::int32_t position) {
  if (auto* bar = dynamic_cast<ProgressBar*>(FindWindow(controlId))) bar->SetValue(position);
}

std::uintptr_t TemplateDialog::StartTimer(std::uint32_t periodMilliseconds) {
  timer_.Start(static_cast<int>(periodMilliseconds));
  return kTimerHandle;
}

void TemplateDialog::StopTimer(std::uintptr_t handle) {
  if (handle == kTimerHandle) timer_.Stop();
}

void TemplateDialog::SetIcon() { wxDialog::SetIcon(wxIcon(AppIconXpm())); }

void TemplateDialog::EndDialog(int result) {
  if (result_) return;
  result_ = result;
  if (loop_) loop_->ScheduleExit(result);
}

void TemplateDialog::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    events_.OnCommand(kIdCancel);
    return;
  }
  event.Skip();
}

void TemplateDialog::OnClose(wxCloseEvent& event) {
  if (events_.OnCloseRequest()) {
    EndDialog(kIdCancel);
  } else if (event.CanVeto()) {
    event.Veto();
  }
}

}  // namespace platform
