#pragma once
// A dialog without a screen: it keeps every control's state as the real window would
// show it, and tests act as the user (clicks, keys, close box, timer ticks) and as the
// user-interface thread's loop (running what the worker posted or called).
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <string>
#include <vector>

#include "platform/queued_dialog_channel.h"
#include "platform/window.h"

namespace platform {

class HeadlessDialog : public DialogWindow {
 public:
  HeadlessDialog(const DialogTemplate& dialogTemplate, DialogEvents& events);
  ~HeadlessDialog() override;
  HeadlessDialog(const HeadlessDialog&) = delete;
  HeadlessDialog& operator=(const HeadlessDialog&) = delete;

  // Creation (OnInitDialog) and destruction (OnDestroy, channel closed).
  void Create();
  void Destroy();

  // The user. A disabled control or an ended dialog ignores clicks and keys.
  bool Click(int controlId);
  bool PressEnter();   // the default push button
  bool PressEscape();  // the cancel command, whatever the Close button's state
  // The caption's close box; answers whether the dialog ended.
  bool RequestClose();
  // One period of the running timer; false when no timer runs.
  bool Tick();

  // The loop: runs the posted messages and synchronous calls queued so far.
  std::size_t Pump();
  // Runs them as they come until done() holds (checked after each) or the time is up.
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(30));

  // What the window shows.
  std::wstring Title() const { return title_; }
  std::wstring Text(int controlId) const;
  bool IsEnabled(int controlId) const;
  std::vector<std::wstring> Lines(int controlId) const;
  std::int32_t ProgressMinimum(int controlId) const;
  std::int32_t ProgressMaximum(int controlId) const;
  std::int32_t ProgressPosition(int controlId) const;
  bool HasIcon() const { return hasIcon_; }
  bool IsTimerRunning() const { return timerPeriod_ != 0; }
  std::uint32_t TimerPeriod() const { return timerPeriod_; }
  bool HasEnded() const { return ended_; }
  int Result() const { return result_; }

  // DialogWindow
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
  struct Control {
    ControlKind kind = ControlKind::StaticText;
    std::wstring text;
    bool enabled = true;
    std::vector<std::wstring> lines;
    std::int32_t minimum = 0, maximum = 100, position = 0;
  };
  Control* Find(int controlId);
  const Control& Get(int controlId) const;
  bool Live() const { return created_ && !destroyed_ && !ended_; }
  void Enqueue(std::function<void()> task);
  std::function<void()> TakeTask();

  DialogEvents& events_;
  std::wstring title_;
  std::map<int, Control> controls_;
  int defaultButton_ = 0;
  bool hasIcon_ = false;
  std::uint32_t timerPeriod_ = 0;
  bool created_ = false, destroyed_ = false, ended_ = false;
  int result_ = 0;

  std::mutex queueMutex_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> tasks_;
  std::shared_ptr<QueuedDialogChannel> channel_;
};

}  // namespace platform
