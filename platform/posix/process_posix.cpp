// Starting an external program and waiting for it.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <vector>

#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

extern char** environ;

namespace platform {

bool SystemServices::RunProgram(const std::wstring& program, const std::vector<std::wstring>& args,
                                const std::wstring& workingFolder) {
  std::vector<std::string> pieces{NativePath(program)};
  for (const auto& arg : args) pieces.push_back(ToUtf8(arg));
  std::vector<char*> argv;
  for (auto& piece : pieces) argv.push_back(piece.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, NativePath(workingFolder).c_str());

  pid_t child = 0;
  const int error = ::posix_spawn(&child, pieces.front().c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    SetLastErrorCode(static_cast<std::uint32_t>(error));
    return false;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

}  // namespace platform
