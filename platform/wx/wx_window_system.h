#pragma once
// The window layer on wxWidgets. Needs the toolkit initialised (wxEntryStart) first.
#include <memory>

#include "platform/window.h"

namespace platform {

std::unique_ptr<WindowSystem> MakeWxWindowSystem();

}  // namespace platform
