#pragma once
// A regular file opened for reading from start to end (never a folder).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/posix/unique_fd.h"

namespace platform {

class InputFile {
 public:
  // Nothing when the path cannot be opened for reading or is a folder.
  static std::optional<InputFile> Open(const std::wstring& path);

  // Length at the time of opening.
  std::int64_t Size() const { return size_; }
  // Bytes read into buffer; 0 at the end or on an error.
  std::size_t Read(void* buffer, std::size_t capacity);
  // The same from a given offset, leaving the file position alone.
  std::size_t ReadAt(void* buffer, std::size_t capacity, std::int64_t offset);

 private:
  InputFile(UniqueFd fd, std::int64_t size) : fd_(std::move(fd)), size_(size) {}

  UniqueFd fd_;
  std::int64_t size_;
};

}  // namespace platform
