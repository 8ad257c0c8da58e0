#pragma once
// A game with an update made by the real 7z and xdelta3, its files large enough for a copy
// or a delta run to be caught in flight, and the promise every fault must keep: each game
// file is its complete old or its complete new content, and no temporary file is left in
// the game folder. Runs happen on the test's thread or in a child process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/entries.h"
#include "engine/game_folders.h"
#include "engine/installer_run.h"
#include "engine/recording_dialog.h"
#include "engine/updater.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"
#include "support/temp_folder.h"

namespace fault_testing {

using namespace engine_testing;
using testing_support::Exists;
using testing_support::GameLayout;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

inline constexpr std::size_t kLargeSize = std::size_t{24} << 20;

// Bytes that no compressor shrinks, the same for the same seed.
inline std::string Noise(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

inline std::string Changed(std::string bytes) {
  bytes.replace(bytes.size() / 2, 1 << 20, Noise(1 << 20, 99));
  return bytes + "appended in the new version";
}

// A game file the update touches, before and after it.
struct GameFile {
  std::wstring path;   // as the index names it, '\'-separated
  std::string before;  // empty: the update adds it
  std::string after;   // empty: the update deletes it
};

// In the order the update applies them: additions, deletion, patches.
inline const std::vector<GameFile>& UpdatedFiles() {
  static const std::vector<GameFile> files = {
      {L"media\\big added.bin", "", Noise(kLargeSize, 1)},
      {L"数据\\说明.txt", "", "新的说明\n"},
      {L"old.dll", "old library", ""},
      {L"data\\big patched.bin", Noise(kLargeSize, 2), Changed(Noise(kLargeSize, 2))},
      {L"config\\Launcher.cfg", "<Launcher>7</Launcher>", "<Launcher>8</Launcher>"},
  };
  return files;
}

inline std::wstring DeltaName(const GameFile& file) { return L"deltas\\" + file.path + L".xd3"; }

// A small file system mounted on a folder for the lifetime of the object. Mounting needs
// root (or CAP_SYS_ADMIN); Mounted() tells whether it worked and Refusal() why not.
class ScopedSmallDisk {
 public:
  ScopedSmallDisk(const std::wstring& folder, std::uint64_t bytes) : folder_(platform::NativePath(folder)) {
    boost::filesystem::create_directories(folder_);
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!mounted_) refusal_ = std::strerror(errno);
  }
  ~ScopedSmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  ScopedSmallDisk(const ScopedSmallDisk&) = delete;
  ScopedSmallDisk& operator=(const ScopedSmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Refusal() const { return refusal_; }

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string refusal_;
};

// An update run in a child process, as a second copy of the installer would be. The child
// leads its own process group, so that a kill also ends the 7z or xdelta3 it runs; it is
// killed when the object goes while it still runs. Its exit code is 0 when the run
// succeeded without any message, 1 otherwise.
class UpdateProcess {
 public:
  // pauseBeforeCopy: the child stops itself (SIGSTOP) just before its copy (or move of a
  // rebuilt file) of that number (1 for the first); 0: never.
  UpdateProcess(const GameLayout& game, int pauseBeforeCopy) {
    pid_ = ::fork();
    if (pid_ == 0) RunAndExit(game, pauseBeforeCopy);
    if (pid_ > 0) ::setpgid(pid_, pid_);
  }
  ~UpdateProcess() {
    if (pid_ > 0 && !ended_) {
      Kill();
      Wait();
    }
  }
  UpdateProcess(const UpdateProcess&) = delete;
  UpdateProcess& operator=(const UpdateProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  // Whether the child stopped itself (it may have ended instead).
  bool WaitUntilPaused() {
    int status = 0;
    if (::waitpid(pid_, &status, WUNTRACED) != pid_) return false;
    if (WIFSTOPPED(status)) return true;
    Ended(status);
    return false;
  }
  void Continue() { ::kill(-pid_, SIGCONT); }
  void Kill() { ::kill(-pid_, SIGKILL); }

  bool HasEnded() {
    int status = 0;
    if (!ended_ && ::waitpid(pid_, &status, WNOHANG) == pid_ && !WIFSTOPPED(status)) Ended(status);
    return ended_;
  }
  // Exit code, or -1 when a signal ended the child.
  int Wait() {
    while (!ended_) {
      int status = 0;
      if (::waitpid(pid_, &status, 0) != pid_) break;
      if (!WIFSTOPPED(status)) Ended(status);
    }
    return exitCode_;
  }

  // Whether the child writes a copy in folder: a file without a name there, or one with
  // a temporary copy's name.
  bool WritesCopyIn(const std::wstring& folder) const {
    namespace fs = boost::filesystem;
    const std::string prefix = platform::NativePath(folder) + "/";
    boost::system::error_code error;
    for (fs::directory_iterator fd("/proc/" + std::to_string(pid_) + "/fd", error), end; !error && fd != end;
         fd.increment(error)) {
      const std::string target = fs::read_symlink(fd->path(), error).string();
      const bool copy = target.find(" (deleted)") != std::string::npos || target.find(".quarnel-") != std::string::npos;
      if (target.rfind(prefix, 0) == 0 && copy) return true;
    }
    return false;
  }

 private:
  // The installer of the child: it stops itself before the copy it was asked to.
  class PausingInstaller : public InstallerRun {
   public:
    PausingInstaller(const GameLayout& game, int pauseBeforeCopy)
        : InstallerRun(game), copiesBeforePause_(pauseBeforeCopy) {}
    bool CopyFile(const std::wstring& source, const std::wstring& destination) override {
      PauseIfDue();
      return InstallerRun::CopyFile(source, destination);
    }
    bool MoveFile(const std::wstring& source, const std::wstring& destination) override {
      PauseIfDue();
      return InstallerRun::MoveFile(source, destination);
    }

   private:
    void PauseIfDue() {
      if (copiesBeforePause_ > 0 && --copiesBeforePause_ == 0) ::raise(SIGSTOP);
    }

    int copiesBeforePause_;
  };

  [[noreturn]] static void RunAndExit(const GameLayout& game, int pauseBeforeCopy) {
    ::setpgid(0, 0);
    int code = 1;
    try {
      PausingInstaller installer(game, pauseBeforeCopy);
      CUpdater& updater = CUpdater::Instance();
      updater.DetachDialog();
      updater.run(game.Patch());
      code = updater.state.load() == Succeeded && installer.BoxTexts().empty() ? 0 : 1;
    } catch (...) {
    }
    ::_exit(code);
  }

  void Ended(int status) {
    ended_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  pid_t pid_ = -1;
  bool ended_ = false;
  int exitCode_ = -1;
};

// Polls until done holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return true;
}

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CUpdater& updater = CUpdater::Instance();
    updater.checkedCount = 0;
    updater.updatedCount = 0;
    dialog_ = std::make_shared<RecordingDialog>();
    updater.AttachDialog(dialog_, dialog_.get());
  }
  void TearDown() override { CUpdater::Instance().DetachDialog(); }

  // The old game and the package that updates it; change may alter the package's top
  // folder before it is compressed (symbolic links are stored as links).
  void Prepare(const std::function<void(const std::wstring& top)>& change = nullptr) {
    WriteOldGame();
    const std::wstring top = work_ / BaseName();
    std::string added, deleted, patched;
    for (const GameFile& file : UpdatedFiles()) {
      const std::string path = platform::ToUtf8(file.path);
      if (file.before.empty()) {
        WriteFile(platform::JoinPath(top, file.path), file.after);
        added += "<Patch SrcFile=\"" + path + "\"/>";
      } else if (file.after.empty()) {
        deleted += "<Patch SrcFile=\"" + path + "\"/>";
      } else {
        WriteFile(work_ / L"new", file.after);
        EncodeDelta(Game(file.path), work_ / L"new", platform::JoinPath(top, DeltaName(file)));
        patched += "<Patch PatchFile=\"" + platform::ToUtf8(DeltaName(file)) + "\" SrcFile=\"" + path +
                   "\" SrcSize=\"" + std::to_string(file.before.size()) + "\" SrcCrc=\"" +
                   std::to_string(Crc(file.before)) + "\"/>";
      }
    }
    WriteFile(platform::JoinPath(top, BaseName() + L".xml"),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root><Patches TotalSize=\"1\"><AddedFiles>" + added +
                  "</AddedFiles><DeletedFiles>" + deleted + "</DeletedFiles><PatchFiles>" + patched +
                  "</PatchFiles></Patches></Root>");
    if (change) change(top);
    // Stored, not compressed: the package is built fast and its bytes are the files'.
    Shell("cd " + ShellWord(work_.Path()) + " && 7z a -mx0 -snl package.7z " + ShellWord(BaseName()));
    game_.WritePackage(ReadFile(work_ / L"package.7z"));
  }

  void WriteOldGame() const {
    for (const GameFile& file : UpdatedFiles()) {
      if (!file.before.empty()) WriteFile(Game(file.path), file.before);
    }
  }

  // Each updated file is wholly old or wholly new; answers how many are new.
  int ExpectEachFileOldOrNew() const {
    int updated = 0;
    for (const GameFile& file : UpdatedFiles()) {
      const std::wstring path = Game(file.path);
      const bool present = Exists(path);
      const std::string content = present ? ReadFile(path) : std::string();
      const bool old = file.before.empty() ? !present : present && content == file.before;
      const bool updatedNow = file.after.empty() ? !present : present && content == file.after;
      EXPECT_TRUE(old || updatedNow) << platform::ToUtf8(file.path) << " is neither old nor new ("
                                     << content.size() << " bytes)";
      updated += updatedNow && !old;
    }
    return updated;
  }

  enum class Version { Old, New };

  // Every updated file is present with the version's content, or absent where the
  // version has none.
  void ExpectGameAt(Version version) const {
    for (const GameFile& file : UpdatedFiles()) {
      const std::string& content = version == Version::Old ? file.before : file.after;
      const std::wstring path = Game(file.path);
      if (content.empty()) {
        EXPECT_FALSE(Exists(path)) << platform::ToUtf8(file.path) << " is present";
      } else {
        EXPECT_TRUE(Exists(path) && ReadFile(path) == content) << platform::ToUtf8(file.path) << " differs";
      }
    }
  }

  // The worker's message when the delta tool left no rebuilt file for the game file.
  std::wstring CannotGenerateBox(const std::wstring& gamePath) const {
    return L"(ToSource)" + Game(gamePath) + L"(ApplyPatch)" + Unpacked(DeltaName({gamePath, "", ""})) +
           L"(ErrorOfPatchTarget)" + Staging(gamePath) + L"(CannotGenerate)(WorkingDir)" +
           platform::System().CurrentFolder() + L" | (Error)";
  }

  std::wstring CopyFailedBox(const std::wstring& source, const std::wstring& destination,
                             const std::wstring& systemText) const {
    return L"(CopyFileFailed)" + source + L"(To)" + destination + L"(SystemReturn)" + systemText + L" | (Error)";
  }

  // Names of temporary copies left anywhere in the game folder.
  std::vector<std::string> LeftoverCopies() const {
    namespace fs = boost::filesystem;
    std::vector<std::string> names;
    for (fs::recursive_directory_iterator entry(platform::NativePath(game_.Root())), end; entry != end; ++entry) {
      const std::string name = entry->path().filename().string();
      if (name.find(".quarnel-") != std::string::npos) names.push_back(entry->path().string());
    }
    return names;
  }

  std::vector<std::uint32_t> Codes() const {
    std::vector<std::uint32_t> codes;
    for (const Report& report : dialog_->reports) codes.push_back(report.code);
    return codes;
  }

  // Paths as the update shows them: index paths ('\'-separated) in the native form.
  std::wstring Game(const std::wstring& relative) const {
    return platform::JoinPath(game_.Root(), platform::WithNativeSeparators(relative));
  }
  std::wstring BaseName() const { return PackageBaseName(game_.Patch()); }
  std::wstring Unpacked(const std::wstring& relative) const {
    return platform::JoinPath(platform::JoinPath(ProgramFolder(), BaseName()), platform::WithNativeSeparators(relative));
  }
  std::wstring Staging(const std::wstring& relative) const {
    return platform::JoinPath(InstallerFolder(), platform::WithNativeSeparators(relative));
  }

  GameLayout game_;
  InstallerRun installer_{game_};
  TempFolder work_;
  std::shared_ptr<RecordingDialog> dialog_;
};

}  // namespace fault_testing
