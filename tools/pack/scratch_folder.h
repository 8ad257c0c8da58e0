#pragma once
// A new, uniquely named folder inside a given folder, removed with everything in it
// when the object goes: a failed run leaves nothing behind.
#include <string>

class ScratchFolder {
 public:
  // Throws PackError when the folder cannot be created (an unwritable parent).
  explicit ScratchFolder(const std::wstring& parent);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};
