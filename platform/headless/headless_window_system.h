#pragma once
// A window system without a screen, for tests: it records every message box (dismissed at
// once, as if OK was pressed) and runs dialogs that a test drives.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
  int RunModal(const DialogTemplate& dialogTemplate, DialogEvents& events) override;

  std::vector<RecordedMessageBox> Boxes() const;
  std::wstring SettingsKey() const;
  int DialogsRun() const;

 private:
  mutable std::mutex guard_;
  std::vector<RecordedMessageBox> boxes_;
  std::wstring settingsKey_;
  int dialogsRun_ = 0;
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
