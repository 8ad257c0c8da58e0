#include "platform/background_task.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <thread>

namespace {

std::thread::id ThreadOfTheWork() {
  return platform::StartInBackground([] { return std::this_thread::get_id(); }).get();
}

TEST(StartInBackground, RunsTheWorkOnAThreadOfItsOwn) {
  EXPECT_NE(ThreadOfTheWork(), std::this_thread::get_id());
}

// No room left for a thread's stack, so no thread can start: the work still runs, on
// the caller, instead of an exception.
TEST(StartInBackground, RunsTheWorkOnTheCallerWhenNoThreadCanStart) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers need an unlimited address space";
#endif
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t room = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (2 << 20);
    const rlimit limit{room, room};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
    // Stacks of threads that have ended are kept for reuse; take them all first.
    for (int kept = 0; kept < 64; ++kept) {
      pthread_t thread;
      if (pthread_create(&thread, nullptr, [](void*) -> void* { pause(); return nullptr; }, nullptr) != 0) break;
    }
    _exit(ThreadOfTheWork() == std::this_thread::get_id() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child ended by a signal";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
