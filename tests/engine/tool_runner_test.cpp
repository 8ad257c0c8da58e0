#include "engine/tool_runner.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/game_folders.h"
#include "installer_run.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"
#include "support/temp_folder.h"

namespace {

using engine_testing::EncodeDelta;
using engine_testing::InstallerRun;
using engine_testing::ScopedSearchPath;
using engine_testing::Shell;
using engine_testing::ShellWord;
using engine_testing::WriteProgram;
using testing_support::Exists;
using testing_support::GameLayout;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

std::string Bytes(std::size_t length, unsigned seed) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(seed >> 16);
  }
  return bytes;
}

class ToolRunnerTest : public ::testing::Test {
 protected:
  // Lines of the file a fake program wrote: its working folder, then its arguments.
  std::string FakeProgram(int exitCode) {
    return "printf '%s\\n' \"$PWD\" \"$@\" > \"$0.args\"\nexit " + std::to_string(exitCode);
  }
  std::wstring Beside(const std::wstring& name) const { return platform::JoinPath(ProgramFolder(), name); }

  GameLayout game_;
  InstallerRun installer_{game_};
  TempFolder work_;
};

TEST_F(ToolRunnerTest, ArchiverUnpacksTopFolderReplacingExistingFiles) {
  WriteFile(work_ / L"src/1.0-1.1/dir with space/file a.txt", "new a");
  WriteFile(work_ / L"src/1.0-1.1/数据/b.bin", "new b");
  Shell("cd " + ShellWord(work_ / L"src") + " && 7z a " + ShellWord(work_ / L"1.0-1.1.7z") + " 1.0-1.1");
  WriteFile(work_ / L"out/1.0-1.1/dir with space/file a.txt", "old content of a");
  WriteFile(work_ / L"out/1.0-1.1/kept.txt", "kept");

  EXPECT_EQ(RunArchiver(work_ / L"1.0-1.1.7z", work_ / L"out"), ToolResult::Succeeded);

  EXPECT_EQ(ReadFile(work_ / L"out/1.0-1.1/dir with space/file a.txt"), "new a");
  EXPECT_EQ(ReadFile(work_ / L"out/1.0-1.1/数据/b.bin"), "new b");
  EXPECT_EQ(ReadFile(work_ / L"out/1.0-1.1/kept.txt"), "kept");
}

TEST_F(ToolRunnerTest, ArchiverFailsOnADamagedArchive) {
  WriteFile(work_ / L"damaged.7z", "7z\xBC\xAF\x27\x1C this is no archive");
  EXPECT_EQ(RunArchiver(work_ / L"damaged.7z", work_ / L"out"), ToolResult::Failed);
}

TEST_F(ToolRunnerTest, DeltaToolRebuildsTarget) {
  const std::string source = Bytes(300000, 1);
  std::string target = source;
  target.replace(1000, 5000, Bytes(5000, 2));
  target += "tail";
  WriteFile(work_ / L"game file.dat", source);
  WriteFile(work_ / L"target.dat", target);
  EncodeDelta(work_ / L"game file.dat", work_ / L"target.dat", work_ / L"d.delta");

  EXPECT_EQ(RunDeltaTool(work_ / L"game file.dat", work_ / L"d.delta", work_ / L"新 out.dat"), ToolResult::Succeeded);
  EXPECT_EQ(ReadFile(work_ / L"新 out.dat"), target);
}

// A game file that is itself gzip data is decoded as it is, not piped through gunzip.
TEST_F(ToolRunnerTest, DeltaToolRebuildsGzipFile) {
  WriteFile(work_ / L"old.txt", Bytes(50000, 3));
  WriteFile(work_ / L"new.txt", Bytes(50000, 3) + "more");
  Shell("gzip -n -c " + ShellWord(work_ / L"old.txt") + " > " + ShellWord(work_ / L"old.gz") + " && gzip -n -9 -c " +
        ShellWord(work_ / L"new.txt") + " > " + ShellWord(work_ / L"new.gz"));
  EncodeDelta(work_ / L"old.gz", work_ / L"new.gz", work_ / L"gz.delta");

  EXPECT_EQ(RunDeltaTool(work_ / L"old.gz", work_ / L"gz.delta", work_ / L"out.gz"), ToolResult::Succeeded);
  EXPECT_EQ(ReadFile(work_ / L"out.gz"), ReadFile(work_ / L"new.gz"));
}

// xdelta3 writes its output window by window: a decode that fails part-way must not leave
// a partial file that would be taken for the rebuilt one.
TEST_F(ToolRunnerTest, FailedDecodeLeavesNoOutput) {
  const std::string source = Bytes(10 << 20, 4);
  std::string target = source;
  target.replace(9 << 20, 4, "XXXX");
  WriteFile(work_ / L"source", source);
  WriteFile(work_ / L"target", target);
  EncodeDelta(work_ / L"source", work_ / L"target", work_ / L"delta");
  std::string wrongSource = source;
  wrongSource.replace((9 << 20) + 1000, 4, "YYYY");  // in a stretch the delta copies
  WriteFile(work_ / L"source", wrongSource);

  EXPECT_EQ(RunDeltaTool(work_ / L"source", work_ / L"delta", work_ / L"out"), ToolResult::Failed);
  EXPECT_FALSE(Exists(work_ / L"out"));
}

TEST_F(ToolRunnerTest, MissingProgramsAreNotStarted) {
  const ScopedSearchPath emptyPath(work_.Path());
  EXPECT_EQ(RunArchiver(work_ / L"x.7z", work_.Path()), ToolResult::NotStarted);
  EXPECT_EQ(RunDeltaTool(work_ / L"a", work_ / L"b", work_ / L"c"), ToolResult::NotStarted);
}

// Every path arrives as one argument, intact, and the programs run in the game folder.
TEST_F(ToolRunnerTest, ProgramsBesideTheInstallerGetTheirArgumentsAndTheGameFolder) {
  WriteProgram(Beside(L"7z"), FakeProgram(0));
  WriteProgram(Beside(L"xdelta3"), FakeProgram(0));
  const std::wstring odd = work_ / L"it's \"odd\" 名 $HOME";
  const std::string root = platform::NativePath(GameRootFolder());
  const std::string native = platform::NativePath(odd);

  EXPECT_EQ(RunArchiver(odd + L"\\pack.7z", odd), ToolResult::Succeeded);
  EXPECT_EQ(ReadFile(Beside(L"7z.args")), root + "\nx\n" + native + "/pack.7z\n-o" + native + "\n-aoa\n");

  EXPECT_EQ(RunDeltaTool(odd + L"\\a b", odd + L"\\d", odd + L"\\o"), ToolResult::Succeeded);
  EXPECT_EQ(ReadFile(Beside(L"xdelta3.args")),
            root + "\n-d\n-D\n-s\n" + native + "/a b\n" + native + "/d\n" + native + "/o\n");
}

TEST_F(ToolRunnerTest, ExitCodesThatMeanFailure) {
  WriteProgram(Beside(L"7z"), FakeProgram(1));  // a warning only
  EXPECT_EQ(RunArchiver(work_ / L"p.7z", work_.Path()), ToolResult::Succeeded);
  WriteProgram(Beside(L"7z"), FakeProgram(2));
  EXPECT_EQ(RunArchiver(work_ / L"p.7z", work_.Path()), ToolResult::Failed);
  WriteProgram(Beside(L"xdelta3"), "echo partial > \"$6\"\nexit 1");
  EXPECT_EQ(RunDeltaTool(work_ / L"a", work_ / L"d", work_ / L"out"), ToolResult::Failed);
  EXPECT_FALSE(Exists(work_ / L"out"));
}

}  // namespace
