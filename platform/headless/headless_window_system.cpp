#include "platform/headless/headless_window_system.h"

namespace platform {

void HeadlessWindowSystem::MessageBox(const std::wstring& text, const std::wstring& caption,
                                      DialogWindow* owner) {
  const std::lock_guard lock(guard_);
  boxes_.push_back({text, caption, owner, std::this_thread::get_id()});
}

void HeadlessWindowSystem::SetSettingsKey(const std::wstring& name) {
  const std::lock_guard lock(guard_);
  settingsKey_ = name;
}

int HeadlessWindowSystem::RunModal(const DialogTemplate& dialogTemplate, DialogEvents& events) {
  DialogDriver driver;
  {
    const std::lock_guard lock(guard_);
    ++dialogsRun_;
    driver = driver_;
  }
  HeadlessDialog dialog(dialogTemplate, events);
  dialog.Create();
  if (driver) driver(dialog);
  dialog.Destroy();
  return dialog.Result();
}

void HeadlessWindowSystem::SetDialogDriver(DialogDriver driver) {
  const std::lock_guard lock(guard_);
  driver_ = std::move(driver);
}

std::vector<RecordedMessageBox> HeadlessWindowSystem::Boxes() const {
  const std::lock_guard lock(guard_);
  return boxes_;
}

std::wstring HeadlessWindowSystem::SettingsKey() const {
  const std::lock_guard lock(guard_);
  return settingsKey_;
}

int HeadlessWindowSystem::DialogsRun() const {
  const std::lock_guard lock(guard_);
  return dialogsRun_;
}

ScopedHeadlessWindows::ScopedHeadlessWindows() {
  auto system = std::make_unique<HeadlessWindowSystem>();
  system_ = system.get();
  InstallWindowSystem(std::move(system));
}

ScopedHeadlessWindows::~ScopedHeadlessWindows() { InstallWindowSystem(nullptr); }

}  // namespace platform
