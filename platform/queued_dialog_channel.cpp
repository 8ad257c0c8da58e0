#include "platform/queued_dialog_channel.h"

namespace platform {

QueuedDialogChannel::QueuedDialogChannel(DialogEvents& events, Enqueue enqueue)
    : events_(events), enqueue_(std::move(enqueue)), uiThread_(std::this_thread::get_id()) {}

bool QueuedDialogChannel::IsOpen() {
  std::lock_guard lock(mutex_);
  return open_;
}

bool QueuedDialogChannel::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  std::lock_guard lock(mutex_);
  if (!open_) return false;
  // Tasks run on the user-interface thread, as Close does, so an open channel there
  // means the dialog's events are still alive.
  enqueue_([self = shared_from_this(), message, wParam, lParam] {
    if (self->IsOpen()) self->events_.OnPostedMessage(message, wParam, lParam);
  });
  return true;
}

bool QueuedDialogChannel::CallSync(const std::function<void()>& call) {
  if (std::this_thread::get_id() == uiThread_) {
    if (!IsOpen()) return false;
    call();
    return true;
  }
  auto finished = std::make_shared<bool>(false);
  std::unique_lock lock(mutex_);
  if (!open_) return false;
  enqueue_([self = shared_from_this(), call, finished] {
    if (!self->IsOpen()) return;
    call();
    std::lock_guard doneLock(self->mutex_);
    *finished = true;
    self->callFinished_.notify_all();
  });
  callFinished_.wait(lock, [&] { return *finished || !open_; });
  return *finished;
}

void QueuedDialogChannel::Close() {
  std::lock_guard lock(mutex_);
  open_ = false;
  callFinished_.notify_all();
}

}  // namespace platform
