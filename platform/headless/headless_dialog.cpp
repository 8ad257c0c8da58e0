#include "platform/headless/headless_dialog.h"

#include <algorithm>
#include <stdexcept>

namespace platform {

namespace {
constexpr std::uintptr_t kTimerHandle = 1;
}  // namespace

HeadlessDialog::HeadlessDialog(const DialogTemplate& dialogTemplate, DialogEvents& events)
    : events_(events), title_(dialogTemplate.title) {
  for (const ControlTemplate& control : dialogTemplate.controls) {
    Control& state = controls_[control.id];
    state.kind = control.kind;
    state.text = control.text;
    if (control.kind == ControlKind::DefaultPushButton) defaultButton_ = control.id;
  }
  channel_ = std::make_shared<QueuedDialogChannel>(
      events_, [this](std::function<void()> task) { Enqueue(std::move(task)); });
}

HeadlessDialog::~HeadlessDialog() { Destroy(); }

void HeadlessDialog::Create() {
  if (created_) return;
  created_ = true;
  events_.OnInitDialog(*this);
}

void HeadlessDialog::Destroy() {
  if (!created_ || destroyed_) return;
  destroyed_ = true;
  events_.OnDestroy();
  channel_->Close();
  std::lock_guard lock(queueMutex_);
  tasks_.clear();
}

bool HeadlessDialog::Click(int controlId) {
  const Control* control = Find(controlId);
  if (!Live() || !control || !control->enabled) return false;
  events_.OnCommand(controlId);
  return true;
}

bool HeadlessDialog::PressEnter() { return Click(defaultButton_); }

bool HeadlessDialog::PressEscape() {
  if (!Live()) return false;
  events_.OnCommand(kIdCancel);
  return true;
}

bool HeadlessDialog::RequestClose() {
  if (!Live()) return false;
  if (events_.OnCloseRequest()) EndDialog(kIdCancel);
  return ended_;
}

bool HeadlessDialog::Tick() {
  if (!Live() || !IsTimerRunning()) return false;
  events_.OnTimer();
  return true;
}

void HeadlessDialog::Enqueue(std::function<void()> task) {
  std::lock_guard lock(queueMutex_);
  tasks_.push_back(std::move(task));
  queued_.notify_all();
}

std::function<void()> HeadlessDialog::TakeTask() {
  std::lock_guard lock(queueMutex_);
  if (tasks_.empty()) return {};
  std::function<void()> task = std::move(tasks_.front());
  tasks_.pop_front();
  return task;
}

std::size_t HeadlessDialog::Pump() {
  std::size_t ran = 0;
  while (std::function<void()> task = TakeTask()) {
    task();
    ++ran;
  }
  return ran;
}

bool HeadlessDialog::PumpUntil(const std::function<bool()>& done,
                               std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::function<void()> task = TakeTask()) {
      task();
      continue;
    }
    std::unique_lock lock(queueMutex_);
    if (!queued_.wait_until(lock, deadline, [&] { return !tasks_.empty(); })) return done();
  }
  return true;
}

HeadlessDialog::Control* HeadlessDialog::Find(int controlId) {
  auto found = controls_.find(controlId);
  return found == controls_.end() ? nullptr : &found->second;
}

const HeadlessDialog::Control& HeadlessDialog::Get(int controlId) const {
  auto found = controls_.find(controlId);
  if (found == controls_.end()) throw std::out_of_range("no control with this id");
  return found->second;
}

std::wstring HeadlessDialog::Text(int controlId) const { return Get(controlId).text; }
bool HeadlessDialog::IsEnabled(int controlId) const { return Get(controlId).enabled; }
std::vector<std::wstring> HeadlessDialog::Lines(int controlId) const {
  return Get(controlId).lines;
}
std::int32_t HeadlessDialog::ProgressMinimum(int controlId) const { return Get(controlId).minimum; }
std::int32_t HeadlessDialog::ProgressMaximum(int controlId) const { return Get(controlId).maximum; }
std::int32_t HeadlessDialog::ProgressPosition(int controlId) const {
  return Get(controlId).position;
}

void HeadlessDialog::SetTitle(const std::wstring& title) { title_ = title; }

void HeadlessDialog::SetControlText(int controlId, const std::wstring& text) {
  if (Control* control = Find(controlId)) control->text = text;
}

void HeadlessDialog::EnableControl(int controlId, bool enabled) {
  if (Control* control = Find(controlId)) control->enabled = enabled;
}

void HeadlessDialog::ListClear(int controlId) {
  if (Control* control = Find(controlId)) control->lines.clear();
}

void HeadlessDialog::ListAppend(int controlId, const std::wstring& line) {
  if (Control* control = Find(controlId)) control->lines.push_back(line);
}

void HeadlessDialog::SetProgressRange16(int controlId, std::uint16_t minimum,
                                        std::uint16_t maximum) {
  SetProgressRange32(controlId, minimum, maximum);
}

void HeadlessDialog::SetProgressRange32(int controlId, std::int32_t minimum, std::int32_t maximum) {
  Control* control = Find(controlId);
  if (!control) return;
  control->minimum = minimum;
  control->maximum = maximum;
  SetProgressPosition(controlId, control->position);
}

// Like a real progress bar, the position stays inside the range.
void HeadlessDialog::SetProgressPosition(int controlId, std::int32_t position) {
  Control* control = Find(controlId);
  if (!control) return;
  control->position =
      std::clamp(position, control->minimum, std::max(control->minimum, control->maximum));
}

std::uintptr_t HeadlessDialog::StartTimer(std::uint32_t periodMilliseconds) {
  timerPeriod_ = std::max<std::uint32_t>(periodMilliseconds, 1);
  return kTimerHandle;
}

void HeadlessDialog::StopTimer(std::uintptr_t handle) {
  if (handle == kTimerHandle) timerPeriod_ = 0;
}

void HeadlessDialog::SetIcon() { hasIcon_ = true; }

void HeadlessDialog::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
}

}  // namespace platform
