// How fast the worker's reports reach the real window: a worker thread appends N log
// lines by synchronous calls, as an update does once per file, then posts its end. With
// a pause, the worker waits that long between lines, as it does while a tool runs, so
// the window repaints between calls. Only the time inside the calls is counted.
// Needs an X display (xvfb-run). Usage: window_log_lines [N] [pause in ms]
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
  LoggingWorker(int lines, std::chrono::milliseconds pause) : lines_(lines), pause_(pause) {}

  void OnInitDialog(platform::DialogWindow& window) override {
    worker_ = std::thread([this, &window, channel = window.Channel()] {
      for (int i = 0; i < lines_; ++i) {
        if (pause_.count() > 0) std::this_thread::sleep_for(pause_);
        const std::wstring line = L"更新文件：data\\models\\model " + std::to_wstring(i) + L".bin";
        const auto start = Clock::now();
        channel->CallSync([&] { window.ListAppend(kLogListControlId, line); });
        elapsed += Clock::now() - start;
      }
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
  std::chrono::milliseconds pause_;
  platform::DialogWindow* window_ = nullptr;
  std::thread worker_;
};

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 20000;
  const std::chrono::milliseconds pause(argc > 2 ? std::atoi(argv[2]) : 0);
  platform::InstallWindowSystem(platform::MakeWxWindowSystem(argc, argv));
  platform::Windows().StartToolkit();
  LoggingWorker worker(lines, pause);
  platform::Windows().RunModal(MainDialogTemplate(), worker);
  const double seconds = std::chrono::duration<double>(worker.elapsed).count();
  std::printf("%d log lines, %d ms apart: %.3f s in the calls, %.1f us per synchronous call\n",
              lines, static_cast<int>(pause.count()), seconds, seconds * 1e6 / lines);
  wxEntryCleanup();
  return EXIT_SUCCESS;
}
