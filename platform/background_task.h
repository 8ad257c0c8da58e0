#pragma once
// Work started on a thread of its own when one can be started. When none can (the
// process or the system is out of threads), the work runs on the caller once its
// result is asked for: slower, but never an exception out of an ordinary operation.
#include <future>
#include <system_error>
#include <type_traits>
#include <utility>

namespace platform {

template <typename Work>
std::future<std::invoke_result_t<Work>> StartInBackground(Work work) {
  try {
    return std::async(std::launch::async, work);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, std::move(work));
  }
}

}  // namespace platform
