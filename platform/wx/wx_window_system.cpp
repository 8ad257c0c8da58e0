#include "platform/wx/wx_window_system.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/thread.h>

#include "platform/wx/message_box_dialog.h"
#include "platform/wx/template_dialog.h"

namespace platform {

namespace {

class WxWindowSystem : public WindowSystem {
 public:
  explicit WxWindowSystem(int argc, char** argv) : argc_(argc), argv_(argv) {}

  // Main thread only: the toolkit is started there, before any window exists.
  void StartToolkit() override {
    if (started_) return;
    // Without a display nothing can be shown; nothing has been changed yet either.
    if (!wxEntryStart(argc_, argv_)) {
      std::fflush(nullptr);
      std::_Exit(EXIT_FAILURE);
    }
    started_ = true;
  }

  void MessageBox(const std::wstring& text, const std::wstring& caption,
                  DialogWindow* owner) override {
    if (wxIsMainThread()) {
      StartToolkit();
      MessageBoxDialog box(dynamic_cast<wxWindow*>(owner), text, caption);
      box.ShowModal();
    } else {
      ShowForWorker(text, caption);
    }
  }

  void SetSettingsKey(const std::wstring& name) override {
    StartToolkit();
    wxTheApp->SetVendorName(name);
  }

  int RunModal(const DialogTemplate& dialogTemplate, DialogEvents& events) override {
    StartToolkit();
    TemplateDialog dialog(dialogTemplate, events);
    return dialog.Run();
  }

 private:
  // Modal for the calling worker only: the box lives on the interface thread, which keeps
  // running the dialog, and the worker waits until the box is dismissed.
  static void ShowForWorker(const std::wstring& text, const std::wstring& caption) {
    std::mutex mutex;
    std::condition_variable dismissedSignal;
    bool dismissed = false;
    wxTheApp->CallAfter([&] {
      // The toolkit owns a modeless window; it destroys itself when dismissed.
      auto* box = new MessageBoxDialog(nullptr, text, caption);
      box->ShowModeless([&] {
        std::lock_guard lock(mutex);
        dismissed = true;
        dismissedSignal.notify_all();
      });
    });
    std::unique_lock lock(mutex);
    dismissedSignal.wait(lock, [&] { return dismissed; });
  }

  int argc_;
  char** argv_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<WindowSystem> MakeWxWindowSystem(int argc, char** argv) {
  return std::make_unique<WxWindowSystem>(argc, argv);
}

}  // namespace platform
