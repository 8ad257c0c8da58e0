// Starting an external program: posix_spawn with an argument vector (no shell, so no
// quoting), standard streams on the null device, and a wait without a time-out.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

extern char** environ;

namespace platform {

namespace {

class SpawnFileActions {
 public:
  SpawnFileActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
 public:
  SpawnAttributes() { posix_spawnattr_init(&attributes_); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  posix_spawnattr_t* get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

// A started child that is always waited for, so none is left behind as a zombie.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ~ChildProcess() { Wait(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Exit status, or -1 when a signal ended the child.
  int Wait() {
    if (pid_ > 0) {
      while (waitpid(pid_, &status_, 0) == -1 && errno == EINTR) {
      }
      pid_ = 0;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

 private:
  pid_t pid_;
  int status_ = 0;
};

bool PrepareFileActions(SpawnFileActions& actions, const std::string& workingFolder) {
  if (posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0) != 0 ||
      posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0) != 0 ||
      posix_spawn_file_actions_adddup2(actions.get(), STDOUT_FILENO, STDERR_FILENO) != 0) {
    return false;
  }
  return workingFolder.empty() ||
         posix_spawn_file_actions_addchdir_np(actions.get(), workingFolder.c_str()) == 0;
}

// The child starts with every signal at its default and none blocked, whatever the
// installer's threads have set up for themselves.
bool PrepareAttributes(SpawnAttributes& attributes) {
  sigset_t all;
  sigset_t none;
  sigfillset(&all);
  sigemptyset(&none);
  return posix_spawnattr_setsigdefault(attributes.get(), &all) == 0 &&
         posix_spawnattr_setsigmask(attributes.get(), &none) == 0 &&
         posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
}

}  // namespace

std::optional<int> SystemServices::RunProgram(const std::wstring& program, const std::vector<std::wstring>& args,
                                              const std::wstring& workingFolder) {
  if (program.empty()) return std::nullopt;
  std::vector<std::string> pieces;
  pieces.reserve(args.size() + 1);
  pieces.push_back(NativePath(program));
  for (const std::wstring& arg : args) pieces.push_back(ToUtf8(arg));
  std::vector<char*> argv;
  for (std::string& piece : pieces) argv.push_back(piece.data());
  argv.push_back(nullptr);

  SpawnFileActions actions;
  SpawnAttributes attributes;
  if (!PrepareFileActions(actions, NativePath(workingFolder)) || !PrepareAttributes(attributes)) return std::nullopt;
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], actions.get(), attributes.get(), argv.data(), environ);
  if (error != 0) {
    SetLastErrorCode(static_cast<std::uint32_t>(error));
    return std::nullopt;
  }
  return ChildProcess(pid).Wait();
}

}  // namespace platform
