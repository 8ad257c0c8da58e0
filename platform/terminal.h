#pragma once
// Whether a person is watching: progress lines are only worth drawing on a terminal.

namespace platform {

bool StandardErrorIsTerminal();

}  // namespace platform
