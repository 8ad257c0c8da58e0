#pragma once
// The engine's tests run as an installer in a game layout: both text sets loaded, the
// game root found, message boxes recorded by the headless back-end, and pauses recorded
// instead of slept.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/launcher_config.h"
#include "config/quarnel_config.h"
#include "engine/entry_paths.h"
#include "engine/game_folders.h"
#include "platform/headless/headless_window_system.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"

namespace engine_testing {

class InstallerRun : public testing_support::InstallerProcess {
 public:
  explicit InstallerRun(const testing_support::GameLayout& game) : InstallerProcess(game) {
    if (!LoadQuarnelConfig(QuarnelConfig()) || !LocateGameRoot(L"updates", ProgramFolder()) ||
        !LoadLauncherConfig(LauncherConfig::Instance())) {
      throw std::runtime_error("the game layout does not start");
    }
  }

  void Sleep(std::uint32_t milliseconds) override { pauses.push_back(milliseconds); }

  // The folders of an update of the layout's patch.
  static UpdateFolders Folders(const testing_support::GameLayout& game) {
    return {platform::JoinPath(ProgramFolder(), PackageBaseName(game.Patch())), GameRootFolder(), InstallerFolder()};
  }

  // The message boxes shown so far, each as "text | caption".
  std::vector<std::wstring> BoxTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& box : windows->Boxes()) texts.push_back(box.text + L" | " + box.caption);
    return texts;
  }

  std::vector<std::uint32_t> pauses;
  platform::ScopedHeadlessWindows windows;
};

// PATH for the lifetime of the object.
class ScopedSearchPath {
 public:
  explicit ScopedSearchPath(const std::wstring& folder) {
    if (const char* current = std::getenv("PATH")) previous_ = current;
    setenv("PATH", platform::NativePath(folder).c_str(), 1);
  }
  ~ScopedSearchPath() {
    if (previous_) {
      setenv("PATH", previous_->c_str(), 1);
    } else {
      unsetenv("PATH");
    }
  }

 private:
  std::optional<std::string> previous_;
};

// A path as one word of a shell command.
inline std::string ShellWord(const std::wstring& path) {
  std::string word = "'";
  for (const char c : platform::NativePath(path)) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

inline void Shell(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// A shell script that stands in for a program.
inline void WriteProgram(const std::wstring& path, const std::string& body) {
  testing_support::WriteFile(path, "#!/bin/sh\n" + body + "\n");
  chmod(platform::NativePath(path).c_str(), 0755);
}

// Encodes a delta from source to target as a package builder does: on the bytes as they
// are, never through external decompression, like builds of xdelta3 without that feature.
inline void EncodeDelta(const std::wstring& source, const std::wstring& target, const std::wstring& delta) {
  Shell("mkdir -p \"$(dirname " + ShellWord(delta) + ")\"");
  Shell("xdelta3 -e -D -f -s " + ShellWord(source) + " " + ShellWord(target) + " " + ShellWord(delta));
}

}  // namespace engine_testing
