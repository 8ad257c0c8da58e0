#pragma once
// The window layer: message boxes and one modal dialog, with the thread services the
// update worker needs to report to it. Two back-ends implement it: wxWidgets for the
// real window and a headless one that tests drive.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/dialog_template.h"

namespace platform {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class DialogWindow;

// What a dialog receives. Every call comes on the user-interface thread.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  // window stays valid until OnDestroy has returned.
  virtual void OnInitDialog(DialogWindow& window) = 0;
  // A button click; Enter clicks the default button, Escape issues kIdCancel.
  virtual void OnCommand(int controlId) = 0;
  // The caption's close box. Answer true to let the dialog close (EndDialog(kIdCancel)).
  virtual bool OnCloseRequest() = 0;
  virtual void OnTimer() = 0;
  // A message posted through the dialog's channel, in posting order.
  virtual void OnPostedMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void OnDestroy() = 0;
};

// Reaches a dialog from any thread. It outlives the dialog: once the dialog is
// destroyed, posts and calls are dropped and answer false.
class DialogChannel {
 public:
  virtual ~DialogChannel() = default;
  // Queues a message; returns at once.
  virtual bool Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Runs call on the user-interface thread and waits until it has run.
  virtual bool CallSync(const std::function<void()>& call) = 0;
};

// The open dialog, as its owner sees it. User-interface thread only.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  virtual void SetTitle(const std::wstring& title) = 0;
  virtual void SetControlText(int controlId, const std::wstring& text) = 0;
  virtual void EnableControl(int controlId, bool enabled) = 0;
  virtual void ListClear(int controlId) = 0;
  virtual void ListAppend(int controlId, const std::wstring& line) = 0;
  virtual void SetProgressRange16(int controlId, std::uint16_t minimum, std::uint16_t maximum) = 0;
  virtual void SetProgressRange32(int controlId, std::int32_t minimum, std::int32_t maximum) = 0;
  virtual void SetProgressPosition(int controlId, std::int32_t position) = 0;
  // A repeating timer; the handle is never 0.
  virtual std::uintptr_t StartTimer(std::uint32_t periodMilliseconds) = 0;
  virtual void StopTimer(std::uintptr_t handle) = 0;
  virtual void SetIcon() = 0;
  // Ends the modal loop; RunModal answers result.
  virtual void EndDialog(int result) = 0;
  virtual std::shared_ptr<DialogChannel> Channel() = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // One OK button, no icon. Owner null: no owner window. Callable from any thread;
  // from a worker thread the box is modal for that thread only and the dialog keeps
  // running. Returns when the box is dismissed.
  virtual void MessageBox(const std::wstring& text, const std::wstring& caption,
                          DialogWindow* owner) = 0;

  // Starts the toolkit ahead of its first window. Every other call starts it when it
  // needs it; start-up calls this while slow work runs elsewhere, so the two overlap.
  virtual void StartToolkit() {}

  // Name of the per-user key under which the toolkit keeps its own settings.
  virtual void SetSettingsKey(const std::wstring& name) = 0;

  // Creates the dialog, calls events.OnInitDialog, runs until EndDialog, destroys it
  // (events.OnDestroy) and answers the EndDialog result.
  virtual int RunModal(const DialogTemplate& dialogTemplate, DialogEvents& events) = 0;
};

// Identifier of a window message registered by name; the same name gives the same value
// for the life of the process. Needs no back-end, so it works during static initialisation.
std::uint32_t RegisterMessageName(const std::wstring& name);

// The back-end in force. The executable and the tests install one at start-up.
WindowSystem& Windows();
void InstallWindowSystem(std::unique_ptr<WindowSystem> windowSystem);

}  // namespace platform
