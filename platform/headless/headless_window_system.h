#pragma once
// A window system without a screen, for tests: it records every message box (dismissed at
// once, as if OK was pressed) and runs dialogs that a test drives.
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/headless_dialog.h"
#include "platform/window.h"

namespace platform {

struct RecordedMessageBox {
  std::wstring text;
  std::wstring caption;
  DialogWindow* owner;
  std::thread::id thread;
};

class HeadlessWindowSystem : public WindowSystem {
 public:
  void MessageBox(const std::wstring& text, const std::wstring& caption, DialogWindow* owner) override;
  void SetSettingsKey(const std::wstring& name) override;
  // Creates the dialog, hands it to the driver (the test acting as user and loop), then
  // destroys it. A dialog the driver leaves open ends with result 0.
  int RunModal(const DialogTemplate& dialogTemplate, DialogEvents& events) override;

  using DialogDriver = std::function<void(HeadlessDialog& dialog)>;
  void SetDialogDriver(DialogDriver driver);

  std::vector<RecordedMessageBox> Boxes() const;
  std::wstring SettingsKey() const;
  int DialogsRun() const;

 private:
  mutable std::mutex guard_;
  std::vector<RecordedMessageBox> boxes_;
  std::wstring settingsKey_;
  int dialogsRun_ = 0;
  DialogDriver driver_;
};

// Installs a fresh headless window system for the lifetime of the object and gives access to it.
class ScopedHeadlessWindows {
 public:
  ScopedHeadlessWindows();
  ~ScopedHeadlessWindows();
  ScopedHeadlessWindows(const ScopedHeadlessWindows&) = delete;
  ScopedHeadlessWindows& operator=(const ScopedHeadlessWindows&) = delete;

  HeadlessWindowSystem& operator*() const { return *system_; }
  HeadlessWindowSystem* operator->() const { return system_; }

 private:
  HeadlessWindowSystem* system_;
};

}  // namespace platform
