// How fast the worker's reports reach the real window: a worker thread appends N log
// lines by synchronous calls, as an update does once per file, then posts its end.
// Needs an X display (xvfb-run). Usage: window_log_lines [N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <wx/app.h>
#include <wx/init.h>

#include "platform/wx/wx_window_system.h"
#include "resources/dialog_template_102.h"

wxIMPLEMENT_APP_NO_MAIN(wxApp);

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kDone = 0xC001;

class LoggingWorker : public platform::DialogEvents {
 public:
  explicit LoggingWorker(int lines) : lines_(lines) {}

  void OnInitDialog(platform::DialogWindow& window) override {
    worker_ = std::thread([this, &window, channel = window.Channel()] {
      const auto start = Clock::now();
      for (int i = 0; i < lines_; ++i) {
        const std::wstring line = L"更新文件：data\\models\\model " + std::to_wstring(i) + L".bin";
        channel->CallSync([&] { window.ListAppend(kLogListControlId, line); });
      }
      elapsed = Clock::now() - start;
      channel->Post(kDone, 0, 0);
    });
    window_ = &window;
  }
  void OnCommand(int) override {}
  bool OnCloseRequest() override { return false; }
  void OnTimer() override {}
  void OnPostedMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override {
    if (message == kDone) window_->EndDialog(0);
  }
  void OnDestroy() override { worker_.join(); }

  Clock::duration elapsed{};

 private:
  int lines_;
  platform::DialogWindow* window_ = nullptr;
  std::thread worker_;
};

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 20000;
  platform::InstallWindowSystem(platform::MakeWxWindowSystem(argc, argv));
  platform::Windows().StartToolkit();
  LoggingWorker worker(lines);
  platform::Windows().RunModal(MainDialogTemplate(), worker);
  const double seconds = std::chrono::duration<double>(worker.elapsed).count();
  std::printf("%d log lines in %.3f s: %.0f lines/s, %.1f us per synchronous call\n", lines,
              seconds, lines / seconds, seconds * 1e6 / lines);
  wxEntryCleanup();
  return EXIT_SUCCESS;
}
