#pragma once
// The update worker and the progress record it shares with the dialog. The worker alone
// writes the state and the counters; the dialog reads them on its timer. State changes
// reach the dialog as posted messages, log lines and the status text as synchronous calls.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "config/patch_info.h"
#include "platform/window.h"

enum UpdaterState : std::uint32_t {
  Idle = 0,
  Started = 1,
  Unpacking = 2,
  Counted = 3,
  Checking = 4,
  Applying = 5,
  Succeeded = 6,
  FileStepFailed = 7,
  PrepareFailed = 8,
};

// Control ids of the dialog the worker writes to.
inline constexpr int kLogListId = 1004;
inline constexpr int kStatusTextId = 1011;

class CUpdater {
 public:
  static CUpdater& Instance();

  // The whole update, on the worker thread.
  void run(const PatchInfo& patch);

  // Stores the state, then posts it to the dialog (if any).
  void Notify(UpdaterState state);
  // Appends a line to the dialog's log list; waits until the dialog has done it.
  void AddLogLine(const std::wstring& line);
  // Sets the dialog's status text; waits until the dialog has done it.
  void SetStatusText(const std::wstring& text);

  // The dialog attaches itself when it opens and detaches when it is destroyed. window
  // is used only inside calls that the channel runs on the user-interface thread.
  void AttachDialog(std::shared_ptr<platform::DialogChannel> channel, platform::DialogWindow* window);
  void DetachDialog();

  std::uint32_t messageId = 0;
  // Counters are stored before the state (release), so a reader that sees a state
  // (acquire) sees the counters that went with it.
  std::atomic<std::uint32_t> state{Idle};
  std::atomic<std::uint32_t> checkedCount{0};
  std::atomic<std::uint32_t> checkTotal{0};
  std::atomic<std::uint32_t> updatedCount{0};
  std::atomic<std::uint32_t> updateTotal{0};

 private:
  struct DialogLink {
    std::shared_ptr<platform::DialogChannel> channel;
    platform::DialogWindow* window;
  };

  CUpdater();
  // Runs change on the dialog's window on the user-interface thread and waits for it.
  void ChangeDialog(const std::function<void(platform::DialogWindow&)>& change);

  std::atomic<std::shared_ptr<const DialogLink>> dialog_;
};
