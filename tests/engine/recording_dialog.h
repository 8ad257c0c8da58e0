#pragma once
// The dialog as the update worker sees it, for runs on the test's own thread: posts are
// recorded with the counters of that moment, synchronous calls run at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/updater.h"
#include "platform/window.h"

namespace engine_testing {

struct Report {
  std::uint32_t code;
  std::uint32_t checked;
  std::uint32_t updated;
  bool operator==(const Report&) const = default;
};

class RecordingDialog : public platform::DialogWindow, public platform::DialogChannel {
 public:
  bool Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
    const CUpdater& updater = CUpdater::Instance();
    EXPECT_EQ(message, updater.messageId);
    EXPECT_EQ(updater.state.load(), wParam);
    reports.push_back({static_cast<std::uint32_t>(wParam), updater.checkedCount.load(), updater.updatedCount.load()});
    return true;
  }
  bool CallSync(const std::function<void()>& call) override {
    call();
    return true;
  }
  void SetControlText(int controlId, const std::wstring& text) override {
    EXPECT_EQ(controlId, kStatusTextId);
    statusTexts.push_back(text);
  }
  void ListAppend(int controlId, const std::wstring& line) override {
    EXPECT_EQ(controlId, kLogListId);
    log.push_back(line);
  }
  void SetTitle(const std::wstring&) override {}
  void EnableControl(int, bool) override {}
  void ListClear(int) override {}
  void SetProgressRange16(int, std::uint16_t, std::uint16_t) override {}
  void SetProgressRange32(int, std::int32_t, std::int32_t) override {}
  void SetProgressPosition(int, std::int32_t) override {}
  std::uintptr_t StartTimer(std::uint32_t) override { return 1; }
  void StopTimer(std::uintptr_t) override {}
  void SetIcon() override {}
  void EndDialog(int) override {}
  std::shared_ptr<platform::DialogChannel> Channel() override { return nullptr; }

  std::vector<Report> reports;
  std::vector<std::wstring> statusTexts;
  std::vector<std::wstring> log;
};

}  // namespace engine_testing
