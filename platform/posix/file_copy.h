#pragma once
#include <string>

namespace platform {

// Copies source over destination through a temporary file in the destination's folder
// that is flushed and then renamed over it, so the destination is never half-written.
// Keeps the source's permission bits. Answers 0 or the errno of the failure.
int CopyFileAtomically(const std::string& source, const std::string& destination);

// Moves the regular file source over destination: flushed, then renamed over it, so the
// destination is either untouched or complete. Across file systems it is copied as above
// and then removed. Answers 0 or the errno of the failure; on a failure source stays.
int MoveFileAtomically(const std::string& source, const std::string& destination);

}  // namespace platform
