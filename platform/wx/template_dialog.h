#pragma once
// A dialog built from a template, as the window layer's DialogWindow. Its loop runs until
// EndDialog; posted messages and synchronous calls reach it through wxWidgets' own queue.
#include <memory>
#include <optional>

#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/timer.h>

#include "platform/dialog_template.h"
#include "platform/queued_dialog_channel.h"
#include "platform/window.h"

namespace platform {

class TemplateDialog : public wxDialog, public DialogWindow {
 public:
  TemplateDialog(const DialogTemplate& dialogTemplate, DialogEvents& events);
  ~TemplateDialog() override;

  // Initialises, shows and runs the dialog until EndDialog, then tells its events it
  // is being destroyed; answers the EndDialog result.
  int Run();

  void SetTitle(const std::wstring& title) override;
  void SetControlText(int controlId, const std::wstring& text) override;
  void EnableControl(int controlId, bool enabled) override;
  void ListClear(int controlId) override;
  void ListAppend(int controlId, const std::wstring& line) override;
  void SetProgressRange16(int controlId, std::uint16_t minimum, std::uint16_t maximum) override;
  void SetProgressRange32(int controlId, std::int32_t minimum, std::int32_t maximum) override;
  void SetProgressPosition(int controlId, std::int32_t position) override;
  std::uintptr_t StartTimer(std::uint32_t periodMilliseconds) override;
  void StopTimer(std::uintptr_t handle) override;
  void SetIcon() override;
  void EndDialog(int result) override;
  std::shared_ptr<DialogChannel> Channel() override { return channel_; }

 private:
  void CreateControls(const DialogTemplate& dialogTemplate);
  wxWindow* CreateControl(const ControlTemplate& control, const wxPoint& at, const wxSize& size);
  void FocusFirstEnabledControl();
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  DialogEvents& events_;
  std::shared_ptr<QueuedDialogChannel> channel_;
  wxTimer timer_;
  std::optional<int> result_;
  wxGUIEventLoop* loop_ = nullptr;
};

}  // namespace platform
