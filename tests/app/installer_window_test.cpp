// The real installer with its wxWidgets window on an X display (run under xvfb-run, no
// window manager needed): a game folder with a real 7z package, Install pressed with the
// keyboard, the update applied with the real xdelta3, and the dialog closed with Escape.
// With QUARNEL_SCREENSHOT set to a file name, the screen is saved there after success.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/crc32.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"
#include "support/temp_folder.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::WriteFile;

std::string Quoted(const std::wstring& path) {
  std::string word = "'";
  for (const char c : platform::NativePath(path))
    word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

bool Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Visible top-level windows of the installer.
int InstallerWindows() {
  FILE* search = popen("xdotool search --onlyvisible --class quarnel 2>/dev/null", "r");
  if (!search) return -1;
  int lines = 0;
  for (int c; (c = std::fgetc(search)) != EOF;) lines += c == '\n';
  pclose(search);
  return lines;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

// The installer as a child process; killed if the test leaves it running.
class InstallerChild {
 public:
  explicit InstallerChild(const std::wstring& program, bool withDisplay = true) {
    const std::string path = platform::NativePath(program);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus on a bare display
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      if (withDisplay || std::string(*variable).rfind("DISPLAY=", 0) != 0)
        environment.push_back(*variable);
    }
    environment.push_back(nullptr);
    if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environment.data()) != 0)
      pid_ = -1;
  }
  ~InstallerChild() {
    if (pid_ <= 0 || exited_) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  InstallerChild(const InstallerChild&) = delete;
  InstallerChild& operator=(const InstallerChild&) = delete;

  bool Started() const { return pid_ > 0; }
  bool HasExited() {
    if (!exited_ && waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
    return exited_;
  }
  int ExitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
};

// Old and new versions of the game files the package changes.
struct GameChange {
  std::wstring path;   // relative to the game root, '\'-separated as in the index
  std::string before;  // empty: the file is added
  std::string after;   // empty: the file is deleted
};

std::string Repeated(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece + std::to_string(i) + "\n";
  return text;
}

const std::vector<GameChange> kChanges = {
    {L"data\\maps\\a folder name long enough to need the log list scrolled sideways\\new map.dat",
     "", Repeated("new map line ", 300)},
    {L"新文件\\说明.txt", "", "新的说明\n"},
    {L"data\\obsolete.pak", "old pack", ""},
    {L"data\\models\\hero model.bin", Repeated("hero v1 ", 2000), Repeated("hero v2 ", 2000)},
    {L"config\\Launcher.cfg", "<Launcher>old</Launcher>", "<Launcher>new</Launcher>"},
};

std::wstring Attribute(const std::wstring& name, const std::wstring& value) {
  return L" " + name + L"=\"" + value + L"\"";
}

// Builds the package the way a release would: the top folder with the index, the added
// files at their game paths and the deltas, compressed by 7z.
std::string BuildPackage(const std::wstring& baseName, const testing_support::TempFolder& work) {
  const std::wstring top = work / baseName;
  std::wstring added, deleted, patched;
  int deltaNumber = 0;
  for (const GameChange& change : kChanges) {
    if (change.before.empty()) {
      WriteFile(top + L"/" + change.path, change.after);
      added += L"<Patch" + Attribute(L"SrcFile", change.path) + L"/>";
    } else if (change.after.empty()) {
      deleted += L"<Patch" + Attribute(L"SrcFile", change.path) + L"/>";
    } else {
      const std::wstring deltaName = L"deltas\\" + std::to_wstring(++deltaNumber) + L".xd3";
      WriteFile(work / L"old", change.before);
      WriteFile(work / L"new", change.after);
      WriteFile(top + L"/" + deltaName, "");
      if (!Shell("xdelta3 -e -f -s " + Quoted(work / L"old") + " " + Quoted(work / L"new") + " " +
                 Quoted(top + L"/" + deltaName))) {
        return {};
      }
      const std::uint32_t crc =
          Crc32Update(kCrc32Initial, change.before.data(), change.before.size());
      patched += L"<Patch" + Attribute(L"PatchFile", deltaName) +
                 Attribute(L"SrcFile", change.path) +
                 Attribute(L"SrcSize", std::to_wstring(change.before.size())) +
                 Attribute(L"SrcCrc", std::to_wstring(crc)) + L"/>";
    }
  }
  WriteFile(top + L"/" + baseName + L".xml",
            platform::ToUtf8(
                L"<Root><Patches><AddedFiles>" + added + L"</AddedFiles><DeletedFiles>" + deleted +
                L"</DeletedFiles><PatchFiles>" + patched + L"</PatchFiles></Patches></Root>"));
  const std::wstring archive = work / L"package.7z";
  if (!Shell("cd " + Quoted(work.Path()) + " && 7z a " + Quoted(archive) + " " + Quoted(baseName)))
    return {};
  return ReadFile(archive);
}

class InstallerWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    buildFolder_ = std::getenv("QUARNEL_BUILD_DIR");
    if (!std::getenv("DISPLAY") || !buildFolder_) GTEST_SKIP() << "needs an X display (xvfb-run)";
    ASSERT_TRUE(Shell("command -v xdotool")) << "xdotool is missing";
    ShowChineseTexts();
    for (const GameChange& change : kChanges) {
      if (!change.before.empty()) WriteFile(GamePath(change.path), change.before);
    }
    package_ = BuildPackage(PackageBaseName(game_.Patch()), work_);
    ASSERT_FALSE(package_.empty()) << "the package could not be built";
    game_.WritePackage(package_);
    const std::wstring installer = game_.InstallerPath();
    ASSERT_TRUE(Shell("cp " + std::string(buildFolder_) + "/quarnel " + Quoted(installer) +
                      " && chmod 755 " + Quoted(installer)));
  }

  // The dialog's own texts as players see them, so that the window shows real glyphs.
  void ShowChineseTexts() {
    const std::pair<const wchar_t*, const wchar_t*> installerTexts[] = {
        {L"Caption", L"Vostrand - 手动更新工具 "},
        {L"TextContent", L"安装进度"},
        {L"OKBtn", L"安装"},
        {L"CancelBtn", L"关闭"},
        {L"Installing_Check", L"正在检查文件 %1%/%2%"},
        {L"Installing_Update", L"正在更新文件 %1%/%2%"},
        {L"Installing_Added", L"添加文件："},
        {L"Installing_Deleted", L"删除文件："},
        {L"Installing_PatchFile", L"更新文件："}};
    for (const auto& [key, text] : installerTexts) game_.SetQuarnelText(key, text);
    game_.SetLauncherText(L"UpdateSuccessfully", L"更新成功！");
    game_.SetLauncherText(L"DecompressUpdatePack", L"正在解压更新包……");
  }

  // Starts the installer and waits for its first window.
  void Start(const std::wstring& installer) {
    process_ = std::make_unique<InstallerChild>(installer);
    ASSERT_TRUE(process_->Started());
    ASSERT_TRUE(Shell("timeout 20 xdotool search --sync --onlyvisible --class quarnel"))
        << "the dialog did not appear";
  }

  // Escape until the dialog lets itself close (a report may still be on its way).
  void CloseWithEscape() {
    ASSERT_TRUE(WaitFor(
        [&] {
          return Shell("xdotool key Escape") && WaitFor([&] { return process_->HasExited(); }, 1s);
        },
        20s))
        << "the dialog did not close";
    EXPECT_EQ(process_->ExitCode(), 0);
  }

  std::wstring GamePath(const std::wstring& relative) const {
    return game_.Root() + L"/" + relative;
  }
  std::wstring UnpackFolder() const {
    return platform::JoinPath(game_.InstallerFolder(), PackageBaseName(game_.Patch()));
  }

  const char* buildFolder_ = nullptr;
  testing_support::GameLayout game_;
  testing_support::TempFolder work_;
  std::string package_;
  std::unique_ptr<InstallerChild> process_;
};

TEST_F(InstallerWindowTest, InstallPressedUpdatesTheGameAndCloseEndsTheProgram) {
  Start(game_.InstallerPath());
  Shell("xdotool mousemove 0 0 key Return");
  ASSERT_TRUE(WaitFor(
      [&] {
        return Exists(GamePath(L"新文件\\说明.txt")) && !Exists(GamePath(L"data\\obsolete.pak")) &&
               !Exists(UnpackFolder()) && !process_->HasExited();
      },
      60s))
      << "the update did not finish";
  if (const char* screenshot = std::getenv("QUARNEL_SCREENSHOT")) {
    std::this_thread::sleep_for(500ms);  // the success report and a repaint
    Shell(std::string("import -window root ") + screenshot);
  }
  CloseWithEscape();

  for (const GameChange& change : kChanges) {
    if (change.after.empty()) {
      EXPECT_FALSE(Exists(GamePath(change.path)));
    } else {
      EXPECT_EQ(ReadFile(GamePath(change.path)), change.after);
    }
  }
  EXPECT_EQ(ReadFile(game_.PackagePath()), package_);
  EXPECT_FALSE(Exists(UnpackFolder()));
}

// The worker's box is modal for the worker only: it takes the keyboard, Return dismisses
// it, and the dialog, still running, then takes Escape.
TEST_F(InstallerWindowTest, ChangedGameFileStopsTheUpdateWithTheWorkersBox) {
  const std::wstring changed = GamePath(L"data\\models\\hero model.bin");
  WriteFile(changed, "changed by the player");
  Start(game_.InstallerPath());
  Shell("xdotool mousemove 0 0 key Return");
  ASSERT_TRUE(WaitFor([] { return InstallerWindows() == 2; }, 60s)) << "no message box";
  Shell("xdotool key Return");
  ASSERT_TRUE(WaitFor([] { return InstallerWindows() == 1; }, 10s)) << "the box stayed";
  CloseWithEscape();

  EXPECT_EQ(ReadFile(changed), "changed by the player");
  EXPECT_TRUE(Exists(GamePath(L"data\\obsolete.pak")));
  EXPECT_FALSE(Exists(GamePath(L"新文件\\说明.txt")));
  EXPECT_EQ(ReadFile(GamePath(L"config\\Launcher.cfg")), "<Launcher>old</Launcher>");
}

// A start-up message comes before any dialog, on the main thread: a modal box that takes
// the keyboard by itself, and the program ends when Return dismisses it.
TEST_F(InstallerWindowTest, StartupMessageIsDismissedWithReturnAndEndsTheProgram) {
  const std::wstring elsewhere = work_ / L"not the updates folder";
  WriteFile(platform::JoinPath(elsewhere, L"Quarnel.cfg"), ReadFile(game_.QuarnelConfigPath()));
  const std::wstring installer = platform::JoinPath(elsewhere, L"quarnel");
  ASSERT_TRUE(Shell("cp " + Quoted(game_.InstallerPath()) + " " + Quoted(installer)));
  Start(installer);
  Shell("xdotool mousemove 0 0 key Return");
  ASSERT_TRUE(WaitFor([&] { return process_->HasExited(); }, 10s)) << "the box stayed";
  EXPECT_EQ(process_->ExitCode(), 0);
}

// Without a display nothing can be shown: the program ends with a failure once it needs
// its first window, and has changed nothing.
TEST_F(InstallerWindowTest, WithoutADisplayTheProgramEndsBeforeChangingAnything) {
  InstallerChild installer(game_.InstallerPath(), false);
  ASSERT_TRUE(installer.Started());
  ASSERT_TRUE(WaitFor([&] { return installer.HasExited(); }, 20s)) << "the program did not end";
  EXPECT_EQ(installer.ExitCode(), EXIT_FAILURE);
  EXPECT_TRUE(Exists(GamePath(L"data\\obsolete.pak")));
  EXPECT_FALSE(Exists(GamePath(L"新文件\\说明.txt")));
  EXPECT_FALSE(Exists(UnpackFolder()));
  EXPECT_EQ(ReadFile(game_.PackagePath()), package_);
}

}  // namespace
