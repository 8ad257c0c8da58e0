#pragma once
#include <string>

namespace platform {

// Copies source over destination through a temporary file in the destination's folder
// that is flushed and then renamed over it, so the destination is never half-written.
// Keeps the source's permission bits. Answers 0 or the errno of the failure.
int CopyFileAtomically(const std::string& source, const std::string& destination);

}  // namespace platform
