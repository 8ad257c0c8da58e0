#include <stdexcept>

#include "platform/window.h"

namespace platform {

namespace {
std::unique_ptr<WindowSystem> installed;
}

WindowSystem& Windows() {
  if (!installed) throw std::logic_error("no window system installed");
  return *installed;
}

void InstallWindowSystem(std::unique_ptr<WindowSystem> windowSystem) { installed = std::move(windowSystem); }

}  // namespace platform
