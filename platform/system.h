#pragma once
// System services the installer needs from the operating system. One implementation
// per platform; tests may install a derived one to fake a single service (a failing
// copy, the free space, the pauses) while every other call stays real.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class SystemServices {
 public:
  virtual ~SystemServices() = default;

  // Full path of the running executable.
  virtual std::wstring ExecutablePath();
  virtual std::wstring CurrentFolder();
  virtual bool SetCurrentFolder(const std::wstring& folder);

  // Bytes available to the (unprivileged) user on the file system holding path.
  virtual std::optional<std::uint64_t> FreeBytesAvailable(const std::wstring& path);

  // Atomic replace: the destination is either untouched or a complete copy.
  virtual bool CopyFile(const std::wstring& source, const std::wstring& destination);
  // The same atomic replace by moving source, which is gone afterwards (kept on failure).
  virtual bool MoveFile(const std::wstring& source, const std::wstring& destination);
  // Removes a file (or link); never a folder.
  virtual bool DeleteFile(const std::wstring& path);
  // Removes a folder and all beneath it without following links out of the tree.
  virtual bool DeleteTree(const std::wstring& folder);
  virtual bool CreateFolder(const std::wstring& folder);

  virtual void Sleep(std::uint32_t milliseconds);

  // Starts program with args (no shell), in workingFolder, standard streams on the null
  // device, and waits for it to end. Its exit status (-1 when a signal ended it);
  // nothing when it could not be started.
  virtual std::optional<int> RunProgram(const std::wstring& program, const std::vector<std::wstring>& args,
                                        const std::wstring& workingFolder);
};

// The services in force (the platform's own unless a test installed others).
SystemServices& System();

// Installs services for the lifetime of the object (tests).
class ScopedSystemServices {
 public:
  explicit ScopedSystemServices(SystemServices& services);
  ~ScopedSystemServices();
  ScopedSystemServices(const ScopedSystemServices&) = delete;
  ScopedSystemServices& operator=(const ScopedSystemServices&) = delete;

 private:
  SystemServices* previous_;
};

// Error code of the calling thread's last failed service call (errno on POSIX).
std::uint32_t LastErrorCode();
void SetLastErrorCode(std::uint32_t code);
// Whether an error code means that the process or the system has no file handle left.
bool IsOutOfFileHandles(std::uint32_t code);

// The system's description of an error code; empty when the system has none.
std::wstring SystemErrorDescription(std::uint32_t code);

// Raises the soft limit of open files to the hard limit.
void RaiseOpenFileLimit();

// Looks for program beside the installer first, then on PATH; empty when not found.
std::wstring FindProgram(const std::wstring& name);

}  // namespace platform
