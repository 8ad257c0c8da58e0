#pragma once
// The thread services of a dialog over any queue that runs tasks on the user-interface
// thread in order: posts become tasks, synchronous calls wait until their task has run.
// Closing the channel (when the dialog is destroyed) drops every queued task and frees
// every waiting caller, so a worker can never wait on a dialog that is gone.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/window.h"

namespace platform {

class QueuedDialogChannel : public DialogChannel,
                            public std::enable_shared_from_this<QueuedDialogChannel> {
 public:
  // Queues a task for the user-interface thread; called with the channel's lock held.
  using Enqueue = std::function<void(std::function<void()> task)>;

  // Created on the user-interface thread, which it remembers.
  QueuedDialogChannel(DialogEvents& events, Enqueue enqueue);

  bool Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool CallSync(const std::function<void()>& call) override;

  // User-interface thread: the dialog is being destroyed.
  void Close();

 private:
  bool IsOpen();

  DialogEvents& events_;
  Enqueue enqueue_;
  const std::thread::id uiThread_;
  std::mutex mutex_;
  std::condition_variable callFinished_;
  bool open_ = true;
};

}  // namespace platform
