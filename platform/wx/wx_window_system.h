#pragma once
// The window layer on wxWidgets. The toolkit starts (wxEntryStart, with the program's
// arguments) on first use; a program whose display cannot be opened ends there.
#include <memory>

#include "platform/window.h"

namespace platform {

std::unique_ptr<WindowSystem> MakeWxWindowSystem(int argc, char** argv);

}  // namespace platform
