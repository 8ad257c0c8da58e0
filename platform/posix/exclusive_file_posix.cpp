#include "platform/exclusive_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/path.h"
#include "platform/posix/unique_fd.h"

namespace platform {

namespace {

void IgnoreLeaseBreak(int) {}

// A lease break is signalled with SIGIO, whose default action ends the process.
void CatchLeaseBreakSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (sigaction(SIGIO, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction catcher {};
    catcher.sa_handler = IgnoreLeaseBreak;
    catcher.sa_flags = SA_RESTART;
    sigemptyset(&catcher.sa_mask);
    sigaction(SIGIO, &catcher, nullptr);
  });
}

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

bool IsNumber(const char* name) {
  if (*name == '\0') return false;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool ProcessHasOpen(const std::string& processFolder, const struct stat& file) {
  const std::string fdFolder = processFolder + "/fd";
  const Directory descriptors(opendir(fdFolder.c_str()));
  if (!descriptors) return false;  // gone, or another user's
  while (const dirent* entry = readdir(descriptors.get())) {
    if (!IsNumber(entry->d_name)) continue;
    struct stat target {};
    if (stat((fdFolder + "/" + entry->d_name).c_str(), &target) == 0 && SameFile(target, file)) return true;
  }
  return false;
}

bool OtherProcessHasOpen(const struct stat& file) {
  const Directory processes(opendir("/proc"));
  if (!processes) return false;
  const std::string self = std::to_string(getpid());
  while (const dirent* entry = readdir(processes.get())) {
    if (!IsNumber(entry->d_name) || self == entry->d_name) continue;
    if (ProcessHasOpen(std::string("/proc/") + entry->d_name, file)) return true;
  }
  return false;
}

bool HasWritePermission(const struct stat& file) { return (file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

// Whether no other process has the file open; the lease taken to learn it is kept.
bool NoOtherOpener(int descriptor, const struct stat& file) {
  CatchLeaseBreakSignal();
  if (fcntl(descriptor, F_SETLEASE, F_WRLCK) == 0) return true;
  if (errno == EAGAIN || errno == EBUSY) return false;
  return !OtherProcessHasOpen(file);
}

int OpenExclusively(const std::string& path) {
  // Non-blocking, so a file leased by someone else is refused at once instead of waiting
  // for the lease to be broken.
  UniqueFd file(open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat status {};
  const bool held = file.Valid() && fstat(file.Get(), &status) == 0 && S_ISREG(status.st_mode) &&
                    HasWritePermission(status) && flock(file.Get(), LOCK_EX | LOCK_NB) == 0 &&
                    NoOtherOpener(file.Get(), status);
  return held ? file.Release() : -1;
}

}  // namespace

ExclusiveFile::ExclusiveFile(const std::wstring& path) : descriptor_(OpenExclusively(NativePath(path))) {}

ExclusiveFile::~ExclusiveFile() { Release(); }

ExclusiveFile::ExclusiveFile(ExclusiveFile&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&& other) noexcept {
  if (this != &other) {
    Release();
    descriptor_ = std::exchange(other.descriptor_, -1);
  }
  return *this;
}

void ExclusiveFile::Release() {
  if (descriptor_ >= 0) close(std::exchange(descriptor_, -1));
}

bool OtherProcessHasOpen(const std::wstring& path) {
  struct stat file {};
  return stat(NativePath(path).c_str(), &file) == 0 && OtherProcessHasOpen(file);
}

}  // namespace platform
