#pragma once
// Other processes using a file, as a running game client would.
#include <sys/types.h>

#include <string>

namespace testing_support {

// A child process that opens the file for reading and keeps it open until the object is
// destroyed.
class FileOpenerProcess {
 public:
  explicit FileOpenerProcess(const std::wstring& path);
  ~FileOpenerProcess();
  FileOpenerProcess(const FileOpenerProcess&) = delete;
  FileOpenerProcess& operator=(const FileOpenerProcess&) = delete;

  // Whether the child managed to open the file.
  bool Opened() const { return opened_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;  // closing it lets the child end
  bool opened_ = false;
};

// Whether another process can open the file (without waiting) and take an exclusive flock
// on it. The attempt is over when this returns.
bool OtherProcessCanOpenAndLock(const std::wstring& path);

}  // namespace testing_support
