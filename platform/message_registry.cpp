#include <map>
#include <mutex>

#include "platform/window.h"

namespace platform {

std::uint32_t RegisterMessageName(const std::wstring& name) {
  // Registered messages live in the range the system hands out for them.
  static std::mutex guard;
  static std::map<std::wstring, std::uint32_t> registered;
  const std::lock_guard lock(guard);
  const auto next = 0xC000u + static_cast<std::uint32_t>(registered.size());
  return registered.emplace(name, next).first->second;
}

}  // namespace platform
