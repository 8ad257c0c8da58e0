#include "support/file_opener_process.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

#include "platform/path.h"

namespace testing_support {

namespace {

struct Pipe {
  Pipe() {
    if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  }
  ~Pipe() {
    for (int end : ends) {
      if (end >= 0) close(end);
    }
  }
  int Take(int index) {
    const int end = ends[index];
    ends[index] = -1;
    return end;
  }
  int ends[2] = {-1, -1};
};

// A forked child must not keep the parent's files (and their locks) open.
void CloseInheritedFiles() { close_range(STDERR_FILENO + 1, ~0U, 0); }

int WaitForChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// The child makes only plain system calls before it ends.
FileOpenerProcess::FileOpenerProcess(const std::wstring& path) {
  const std::string native = platform::NativePath(path);
  Pipe ready;
  Pipe release;
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    // Keeps only the two pipe ends, as standard input and output.
    if (dup2(release.ends[0], STDIN_FILENO) < 0 || dup2(ready.ends[1], STDOUT_FILENO) < 0) _exit(1);
    CloseInheritedFiles();
    const int file = open(native.c_str(), O_RDONLY | O_NONBLOCK);
    const char answer = file >= 0 ? '1' : '0';
    if (write(STDOUT_FILENO, &answer, 1) != 1) _exit(1);
    char ignored;
    while (read(STDIN_FILENO, &ignored, 1) > 0) {
    }
    _exit(0);
  }
  close(release.Take(0));
  release_ = release.Take(1);
  close(ready.Take(1));
  char answer = '0';
  opened_ = read(ready.ends[0], &answer, 1) == 1 && answer == '1';
}

FileOpenerProcess::~FileOpenerProcess() {
  close(release_);
  WaitForChild(pid_);
}

bool OtherProcessCanOpenAndLock(const std::wstring& path) {
  const std::string native = platform::NativePath(path);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    CloseInheritedFiles();
    const int file = open(native.c_str(), O_RDONLY | O_NONBLOCK);
    _exit(file >= 0 && flock(file, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
  }
  return WaitForChild(pid) == 0;
}

}  // namespace testing_support
