#pragma once
// An existing file opened for reading and writing and held against other users for as
// long as the object lives: what a Windows open without sharing gives.
//
// On Linux, which has no share modes, a hold is built from three pieces:
// - When it is taken, no other process has the file open: a write lease (F_SETLEASE,
//   F_WRLCK) is refused exactly then. Where leases are unavailable (a file the user does
//   not own without CAP_LEASE, a file system without leases) every process's open file
//   descriptors are looked through in /proc instead; that scan does not see processes of
//   other users whose /proc entries cannot be read, nor files only mapped into memory.
// - While it is held, an exclusive flock is kept, so every opener that asks for a flock
//   (another installer, a second hold in this process) is refused. The lease is kept too:
//   another process that opens the file waits until the kernel breaks the lease
//   (/proc/sys/fs/lease-break-time, 45 s by default) and then gets it; a non-blocking
//   open is refused. The kernel signals the break with SIGIO, which is caught and ignored.
// - A file without any write permission bit is refused even for root, as the read-only
//   attribute is on Windows; folders and other non-regular files are refused.
// A hold does not stop a process that ignores flocks from changing the file after the
// lease is broken, nor one that replaces the file by renaming over it: callers check the
// content again before they rely on it.
#include <string>

namespace platform {

class ExclusiveFile {
 public:
  // Tries to hold the file; IsHeld tells whether it worked.
  explicit ExclusiveFile(const std::wstring& path);
  ~ExclusiveFile();
  ExclusiveFile(ExclusiveFile&& other) noexcept;
  ExclusiveFile& operator=(ExclusiveFile&& other) noexcept;
  ExclusiveFile(const ExclusiveFile&) = delete;
  ExclusiveFile& operator=(const ExclusiveFile&) = delete;

  bool IsHeld() const { return descriptor_ >= 0; }
  // Closes the file; a released object holds nothing.
  void Release();

 private:
  int descriptor_ = -1;
};

// Whether a process other than this one has the file at path open (looked up in /proc).
bool OtherProcessHasOpen(const std::wstring& path);

}  // namespace platform
