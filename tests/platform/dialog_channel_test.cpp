// The thread services of the window layer, on the headless dialog: posts arrive in order
// on the user-interface thread, synchronous calls wait for it, and nothing waits on a
// dialog that is gone.
#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "platform/headless/headless_dialog.h"

namespace {

using namespace platform;

const DialogTemplate kTemplate{7, 100, 50, L"t", L"f", 9, 0, {}};

struct RecordingEvents : DialogEvents {
  void OnInitDialog(DialogWindow&) override {}
  void OnCommand(int) override {}
  bool OnCloseRequest() override { return true; }
  void OnTimer() override {}
  void OnPostedMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
    received.push_back({message, wParam, std::this_thread::get_id()});
  }
  void OnDestroy() override {}

  struct Posted {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::thread::id thread;
  };
  std::vector<Posted> received;
};

TEST(DialogChannel, PostsFromAWorkerArriveInOrderOnTheInterfaceThread) {
  RecordingEvents events;
  HeadlessDialog dialog(kTemplate, events);
  dialog.Create();
  std::thread worker([channel = dialog.Channel()] {
    for (std::uintptr_t code = 1; code <= 50; ++code) EXPECT_TRUE(channel->Post(0xC000, code, 0));
  });
  ASSERT_TRUE(dialog.PumpUntil([&] { return events.received.size() == 50; }));
  worker.join();
  for (std::uintptr_t code = 1; code <= 50; ++code) {
    EXPECT_EQ(events.received[code - 1].wParam, code);
    EXPECT_EQ(events.received[code - 1].thread, std::this_thread::get_id());
  }
}

TEST(DialogChannel, SynchronousCallRunsOnTheInterfaceThreadWhileTheWorkerWaits) {
  RecordingEvents events;
  HeadlessDialog dialog(kTemplate, events);
  dialog.Create();
  std::thread::id ranOn;
  auto called = std::async(std::launch::async, [&, channel = dialog.Channel()] {
    channel->Post(0xC000, 1, 0);
    return channel->CallSync([&] { ranOn = std::this_thread::get_id(); });
  });
  // The worker cannot go on before the interface thread has run its call.
  EXPECT_EQ(called.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  ASSERT_TRUE(dialog.PumpUntil([&] { return ranOn != std::thread::id(); }));
  EXPECT_TRUE(called.get());
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  ASSERT_EQ(events.received.size(), 1u);  // the earlier post came first
}

TEST(DialogChannel, DestroyedDialogReleasesAWaitingCallerAndDropsTheRest) {
  RecordingEvents events;
  HeadlessDialog dialog(kTemplate, events);
  dialog.Create();
  auto channel = dialog.Channel();
  bool ran = false;
  auto called = std::async(std::launch::async, [&] {
    channel->Post(0xC000, 1, 0);
    return channel->CallSync([&] { ran = true; });
  });
  // Nobody runs the loop: the worker stays parked in its call until the dialog goes.
  ASSERT_EQ(called.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  dialog.Destroy();
  EXPECT_FALSE(called.get());
  EXPECT_FALSE(ran);
  EXPECT_TRUE(events.received.empty());
  EXPECT_FALSE(channel->Post(0xC000, 2, 0));
  EXPECT_FALSE(channel->CallSync([&] { ran = true; }));
  EXPECT_FALSE(ran);
}

}  // namespace
