#include "parallel_tasks.h"

#include <atomic>
#include <boost/asio/post.hpp>
#include <boost/asio/thread_pool.hpp>
#include <exception>
#include <mutex>

void RunInParallel(std::size_t taskCount, unsigned threads, const std::function<void(std::size_t)>& task) {
  std::atomic<bool> failed{false};
  std::mutex firstErrorMutex;
  std::exception_ptr firstError;
  boost::asio::thread_pool pool(threads == 0 ? 1 : threads);
  for (std::size_t number = 0; number < taskCount; ++number) {
    boost::asio::post(pool, [&, number] {
      if (failed) return;
      try {
        task(number);
      } catch (...) {
        std::lock_guard lock(firstErrorMutex);
        if (!firstError) firstError = std::current_exception();
        failed = true;
      }
    });
  }
  pool.join();
  if (firstError) std::rethrow_exception(firstError);
}
