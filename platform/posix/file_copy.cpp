#include "platform/posix/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/unique_fd.h"

namespace platform {

namespace {

// The copy being written. Where the file system allows, it has no name while it is
// written (O_TMPFILE), so a copy cut short by a kill or a crash leaves nothing in the
// game folder; it is named ".name.quarnel-XXXXXX" only for the instant before it is
// renamed over the destination. Elsewhere it is that named file from the start, removed
// on failure.
class PendingFile {
 public:
  explicit PendingFile(const std::string& destination) : destination_(destination) {
    fd_ = UniqueFd(::open(FolderOf(destination).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd_.Valid()) return;
    path_ = TemplateFor(destination);
    fd_ = UniqueFd(::mkostemp(path_.data(), O_CLOEXEC));
    if (!fd_.Valid()) path_.clear();
  }
  ~PendingFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  int Fd() const { return fd_.Get(); }
  bool Valid() const { return fd_.Valid(); }

  int Commit() {
    if (::fdatasync(fd_.Get()) != 0) return errno;
    if (path_.empty()) {
      if (const int error = LinkUnnamed()) return error;
    }
    fd_.Reset();
    if (::rename(path_.c_str(), destination_.c_str()) != 0) return errno;
    path_.clear();
    return 0;
  }

 private:
  static std::string FolderOf(const std::string& destination) {
    const auto slash = destination.rfind('/');
    return slash == std::string::npos ? std::string(".") : destination.substr(0, slash + 1);
  }

  static std::string TemplateFor(const std::string& destination) {
    const auto slash = destination.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : destination.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    return folder + "." + name + ".quarnel-XXXXXX";
  }

  // Gives the unnamed file a fresh temporary name; linkat never replaces an existing one.
  int LinkUnnamed() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = TemplateFor(destination_);
      for (auto letter = name.end() - 6; letter != name.end(); ++letter) {
        *letter = kLetters[random() % (sizeof kLetters - 1)];
      }
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        path_ = std::move(name);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  std::string destination_;
  std::string path_;  // the file's name while it has one
  UniqueFd fd_;
};

int CopyByReadWrite(int from, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      done += put;
    }
  }
}

// The kernel copies without passing the bytes through user space (and may share extents).
int CopyContent(int from, int to) {
  bool copiedAny = false;
  for (;;) {
    const ssize_t got = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (got == 0) return 0;
    if (got > 0) {
      copiedAny = true;
      continue;
    }
    if (errno == EINTR) continue;
    const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP;
    if (!unsupported || copiedAny) return errno;
    return CopyByReadWrite(from, to);
  }
}

}  // namespace

int CopyFileAtomically(const std::string& source, const std::string& destination) {
  UniqueFd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!from.Valid()) return errno;
  struct stat info {};
  if (::fstat(from.Get(), &info) != 0) return errno;
  if (S_ISDIR(info.st_mode)) return EISDIR;
  ::posix_fadvise(from.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

  PendingFile pending(destination);
  if (!pending.Valid()) return errno;
  if (::fchmod(pending.Fd(), info.st_mode & 07777) != 0) return errno;
  if (const int error = CopyContent(from.Get(), pending.Fd())) return error;
  return pending.Commit();
}

int MoveFileAtomically(const std::string& source, const std::string& destination) {
  {
    UniqueFd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from.Valid()) return errno;
    struct stat info {};
    if (::fstat(from.Get(), &info) != 0) return errno;
    if (!S_ISREG(info.st_mode)) return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (::fdatasync(from.Get()) != 0) return errno;
  }
  if (::rename(source.c_str(), destination.c_str()) == 0) return 0;
  if (errno != EXDEV) return errno;
  if (const int error = CopyFileAtomically(source, destination)) return error;
  ::unlink(source.c_str());
  return 0;
}

}  // namespace platform
