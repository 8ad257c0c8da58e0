// POSIX implementation of the system services.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <thread>

#include "platform/path.h"
#include "platform/posix/file_copy.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace platform {

namespace fs = boost::filesystem;

namespace {

thread_local std::uint32_t lastErrorCode = 0;

bool Fail(int error) {
  lastErrorCode = static_cast<std::uint32_t>(error);
  return false;
}

SystemServices& PlatformServices() {
  static SystemServices services;
  return services;
}

SystemServices* currentServices = nullptr;

}  // namespace

std::uint32_t LastErrorCode() { return lastErrorCode; }
void SetLastErrorCode(std::uint32_t code) { lastErrorCode = code; }
bool IsOutOfFileHandles(std::uint32_t code) { return code == EMFILE || code == ENFILE; }

SystemServices& System() { return currentServices ? *currentServices : PlatformServices(); }

ScopedSystemServices::ScopedSystemServices(SystemServices& services) : previous_(currentServices) {
  currentServices = &services;
}

ScopedSystemServices::~ScopedSystemServices() { currentServices = previous_; }

std::wstring SystemServices::ExecutablePath() {
  boost::system::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::wstring() : FromUtf8Lossy(self.string());
}

std::wstring SystemServices::CurrentFolder() {
  boost::system::error_code error;
  const fs::path folder = fs::current_path(error);
  return error ? std::wstring() : FromUtf8Lossy(folder.string());
}

bool SystemServices::SetCurrentFolder(const std::wstring& folder) {
  return ::chdir(NativePath(folder).c_str()) == 0 || Fail(errno);
}

std::optional<std::uint64_t> SystemServices::FreeBytesAvailable(const std::wstring& path) {
  struct statvfs info {};
  if (::statvfs(NativePath(path).c_str(), &info) != 0) {
    Fail(errno);
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

bool SystemServices::CopyFile(const std::wstring& source, const std::wstring& destination) {
  const int error = CopyFileAtomically(NativePath(source), NativePath(destination));
  return error == 0 || Fail(error);
}

bool SystemServices::MoveFile(const std::wstring& source, const std::wstring& destination) {
  const int error = MoveFileAtomically(NativePath(source), NativePath(destination));
  return error == 0 || Fail(error);
}

bool SystemServices::DeleteFile(const std::wstring& path) {
  const std::string native = NativePath(path);
  struct stat info {};
  if (::lstat(native.c_str(), &info) != 0) return Fail(errno);
  if (S_ISDIR(info.st_mode)) return Fail(EISDIR);
  return ::unlink(native.c_str()) == 0 || Fail(errno);
}

bool SystemServices::DeleteTree(const std::wstring& folder) {
  // remove_all removes a symbolic link itself, never what it points to.
  boost::system::error_code error;
  fs::remove_all(NativePath(folder), error);
  return !error || Fail(error.value());
}

bool SystemServices::CreateFolder(const std::wstring& folder) {
  return ::mkdir(NativePath(folder).c_str(), 0777) == 0 || Fail(errno);
}

void SystemServices::Sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::wstring SystemErrorDescription(std::uint32_t code) {
  // strerror_l would need a locale object; strerror_r (GNU) is thread-safe enough here.
  char buffer[256];
  const char* text = ::strerror_r(static_cast<int>(code), buffer, sizeof buffer);
  if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) return {};
  return FromUtf8Lossy(text);
}

void RaiseOpenFileLimit() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

std::wstring FindProgram(const std::wstring& name) {
  const auto isProgram = [](const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
  };
  const std::string nativeName = NativePath(name);
  const fs::path beside = fs::path(NativePath(System().ExecutablePath())).parent_path() / nativeName;
  if (isProgram(beside.string())) return FromUtf8Lossy(beside.string());
  const char* searchPath = std::getenv("PATH");
  std::string folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::string folder = folders.substr(start, end - start);
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + nativeName;
    if (isProgram(candidate)) return FromUtf8Lossy(candidate);
    start = end + 1;
  }
  return {};
}

}  // namespace platform
