#include <fcntl.h>
#include <sys/file.h>

#include "platform/file_lock.h"
#include "platform/path.h"

namespace platform {

FileLock::FileLock(const std::wstring& path) {
  // Non-blocking open: the file may be leased by an exclusive hold elsewhere.
  UniqueFd file(::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.Valid() && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) fd_ = std::move(file);
}

}  // namespace platform
