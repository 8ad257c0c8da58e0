#pragma once
// The files one update run holds open exclusively, from the check that proves them
// unused and unchanged until the step that uses them (see platform/exclusive_file.h for
// what a hold guarantees). Paths are compared exactly, as the run builds them.
#include <cstddef>
#include <map>
#include <string>

#include "platform/exclusive_file.h"

// The "Installing_FileFalid" message for a file that cannot be held.
void ShowHoldRefused(const std::wstring& path);

class HeldFiles {
 public:
  HeldFiles() = default;
  HeldFiles(const HeldFiles&) = delete;
  HeldFiles& operator=(const HeldFiles&) = delete;

  // Holds the existing file at path. When that is refused (missing, in use, read-only,
  // already held, not a file) shows the "Installing_FileFalid" message and answers false.
  bool HoldFileOpen(const std::wstring& path);
  // Closes the file held for path, if any.
  void ReleaseHeldFile(const std::wstring& path);
  void ReleaseAllHeldFiles();

  bool IsHeld(const std::wstring& path) const { return files_.count(path) != 0; }
  std::size_t Count() const { return files_.size(); }

 private:
  std::map<std::wstring, platform::ExclusiveFile> files_;
};
