#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/input_file.h"
#include "platform/path.h"
#include "platform/system.h"

namespace platform {

std::optional<InputFile> InputFile::Open(const std::wstring& path) {
  UniqueFd fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) {
    SetLastErrorCode(static_cast<std::uint32_t>(errno));
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    SetLastErrorCode(EISDIR);
    return std::nullopt;
  }
  // Whole-file passes: let the kernel read ahead aggressively.
  ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  return InputFile(std::move(fd), static_cast<std::int64_t>(info.st_size));
}

std::size_t InputFile::Read(void* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t got = ::read(fd_.Get(), buffer, capacity);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

}  // namespace platform

namespace platform {

std::size_t InputFile::ReadAt(void* buffer, std::size_t capacity, std::int64_t offset) {
  for (;;) {
    const ssize_t got = ::pread(fd_.Get(), buffer, capacity, static_cast<off_t>(offset));
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

}  // namespace platform
