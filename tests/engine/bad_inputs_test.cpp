// Damaged, oddly encoded, enormous and hostile package indexes: the reader gives the
// outcome it owes, and a run never crashes nor writes outside the game folder.
#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <map>
#include <string>

#include "engine/patch_index.h"
#include "engine/updater.h"
#include "installer_run.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"
#include "support/utf16_bytes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = boost::filesystem;
using namespace engine_testing;
using testing_support::GameLayout;
using testing_support::ReadFile;
using testing_support::Utf16Bytes;
using testing_support::TempFolder;
using testing_support::WriteFile;

std::string Index(const std::string& added, const std::string& patched = "") {
  return "<Root><Patches><AddedFiles>" + added + "</AddedFiles><DeletedFiles/><PatchFiles>" + patched +
         "</PatchFiles></Patches></Root>";
}

std::string Added(const std::string& srcFile) { return "<Patch SrcFile=\"" + srcFile + "\"/>"; }

std::string Nested(std::size_t depth) {
  std::string xml;
  for (std::size_t i = 0; i < depth; ++i) xml += "<a>";
  for (std::size_t i = 0; i < depth; ++i) xml += "</a>";
  return xml;
}

const std::string kOddName = "&quot;q&quot; 100% 'x' a&amp;b \xE7\x89\x88\xE6\x9C\xAC\\sub dir\\%1%.txt";
const std::wstring kOddNameRead = L"\"q\" 100% 'x' a&b \u7248\u672C\\sub dir\\%1%.txt";

TEST(BadPatchIndexTest, ReaderGivesItsOutcome) {
  struct Case {
    const char* what;
    std::string bytes;
    bool reads;
    std::wstring firstAdded;  // "" when none
    std::uint32_t srcSize = 0;
  };
  const std::string huge(4 << 20, 'x');
  const std::string sized = "<Patch PatchFile=\"d\" SrcFile=\"p\" SrcSize=\"";
  const Case cases[] = {
      {"malformed", "<Root><Patches><AddedFiles></Patches></Root>", false, L""},
      {"truncated", Index(Added("a")).substr(0, 40), false, L""},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + Index(Added("a")), true, L"a"},
      {"UTF-16 big-endian with BOM", Utf16Bytes(Index(Added("\xE7\x89\x88")), false, true), true, L"\u7248"},
      {"UTF-16 without BOM", Utf16Bytes(Index(Added("a")), true, false), true, L"a"},
      {"invalid UTF-8 name", Index(Added("\xFF\xC0\xAF")), true, L"\uFFFD\uFFFD\uFFFD"},
      {"4 MiB name", Index(Added(huge)), true, platform::FromUtf8Lossy(huge)},
      {"deeply nested", Index(Nested(100000) + Added("a")), true, L"a"},
      {"odd characters", Index(Added(kOddName)), true, kOddNameRead},
      {"signed size", Index("", sized + " +12\"/>"), true, L"", 12},
      {"negative size", Index("", sized + "-1\"/>"), true, L"", 4294967295u},
      {"overflowing size", Index("", sized + std::string(300, '9') + "\"/>"), true, L"", 4294967295u},
      {"NUL inside a name", Index(Added(std::string("a\0b", 3))), false, L""},
  };
  TempFolder folder;
  const std::wstring path = folder / L"index.xml";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(path, c.bytes);
    PatchIndex index;
    EXPECT_EQ(ParsePatchIndex(index, path), c.reads);
    if (!c.reads) continue;
    EXPECT_TRUE((index.AddedFiles.empty() ? L"" : index.AddedFiles[0].SrcFile) == c.firstAdded);
    EXPECT_EQ(index.PatchFiles.empty() ? 0u : index.PatchFiles[0].SrcSize, c.srcSize);
  }
}

// Every file and folder under the folder that holds the game folder, the game folder
// aside: what a run must never touch.
std::map<std::string, std::string> AroundTheGame(const GameLayout& game) {
  const fs::path root(platform::NativePath(game.Root()));
  std::map<std::string, std::string> files;
  for (fs::recursive_directory_iterator entry(root.parent_path()), end; entry != end; ++entry) {
    if (entry->path() == root) {
      entry.disable_recursion_pending();
    } else {
      files[entry->path().string()] =
          fs::is_regular_file(entry->status()) ? ReadFile(platform::FromUtf8Lossy(entry->path().string())) : "/";
    }
  }
  return files;
}

class BadPackageRunTest : public ::testing::Test {
 protected:
  void SetUp() override { CUpdater::Instance().DetachDialog(); }

  // A package whose top folder holds the files (relative, '/'-separated) and the index.
  void WritePackage(const std::vector<std::wstring>& files, const std::string& index) {
    const std::wstring baseName = PackageBaseName(game_.Patch());
    const std::wstring top = work_ / baseName;
    for (const std::wstring& file : files) WriteFile(platform::JoinPath(top, file), "content of " + platform::ToUtf8(file));
    WriteFile(platform::JoinPath(top, baseName + L".xml"), index);
    Shell("cd " + ShellWord(work_.Path()) + " && 7z a package.7z " + ShellWord(baseName));
    game_.WritePackage(ReadFile(work_ / L"package.7z"));
  }

  GameLayout game_;
  InstallerRun installer_{game_};
  TempFolder work_;
};

TEST_F(BadPackageRunTest, OddNamesAreInstalledAsNamed) {
  WritePackage({L"\"q\" 100% 'x' a&b \u7248\u672C/sub dir/%1%.txt"}, Index(Added(kOddName)));
  const auto around = AroundTheGame(game_);

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), Succeeded);
  EXPECT_EQ(ReadFile(platform::JoinPath(game_.Root(), L"\"q\" 100% 'x' a&b \u7248\u672C/sub dir/%1%.txt")),
            platform::ToUtf8(L"content of \"q\" 100% 'x' a&b \u7248\u672C/sub dir/%1%.txt"));
  EXPECT_EQ(AroundTheGame(game_), around);
}

// A name longer than the file system takes cannot be added: the copy-failure message, and
// nothing written outside the game folder.
TEST_F(BadPackageRunTest, OverlongNameFailsItsCopy) {
  WritePackage({L"a.txt"}, Index(Added("a.txt") + Added(std::string(10000, 'n'))));
  const auto around = AroundTheGame(game_);

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
  const std::vector<std::wstring> boxes = installer_.BoxTexts();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].starts_with(L"(CopyFileFailed)")) << platform::ToUtf8(boxes[0].substr(0, 200));
  EXPECT_EQ(AroundTheGame(game_), around);
}

}  // namespace
