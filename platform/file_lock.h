#pragma once
// An advisory lock on an existing file for as long as the object lives: whoever asks for
// the same lock (another process, another object in this one) is refused, while plain
// readers and writers are not hindered.
#include <string>

#include "platform/posix/unique_fd.h"

namespace platform {

class FileLock {
 public:
  // Tries to take the lock; IsLocked tells whether it worked (false too for a missing file).
  explicit FileLock(const std::wstring& path);

  bool IsLocked() const { return fd_.Valid(); }

 private:
  UniqueFd fd_;
};

}  // namespace platform
