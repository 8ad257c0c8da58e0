// Damaged, oddly encoded, enormous and hostile configuration files: each reader gives the
// outcome it owes, nothing crashes, and nothing in or around the game folder is written
// except the launcher configuration's back-up.
#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <map>

#include "config/launcher_config.h"
#include "config/launcher_manifest.h"
#include "config/quarnel_config.h"
#include "engine/game_folders.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "support/game_layout.h"
#include "support/utf16_bytes.h"

namespace {

namespace fs = boost::filesystem;
using testing_support::GameLayout;
using testing_support::InstallerProcess;
using testing_support::ReadFile;
using testing_support::Utf16Bytes;
using testing_support::WriteFile;

enum class Reader { Quarnel, Launcher, Manifest };

struct BadInput {
  const char* what;
  Reader reader;
  std::string bytes;
  bool loads;
  // Quarnel.cfg: the text of "Error"; Launcher.cfg: the client version; index.xml: the
  // source version of the first client patch ("" when there is none).
  std::wstring value;
};

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::string Texts(const std::string& error) {
  return "<Quarnel><TextSet><Error>" + error + "</Error></TextSet></Quarnel>";
}

std::string Versions(const std::string& client) {
  return "<Launcher><CurLauncherVersion>1</CurLauncherVersion><CurClientVersion>" + client +
         "</CurClientVersion></Launcher>";
}

std::string Manifest(const std::string& patches) {
  return "<root><launcher/><client>" + patches + "</client></root>";
}

std::string ClientPatch(const std::string& source, const std::string& numbers = "Size=\"1\" Crc=\"1\"") {
  return "<patch srcVersion=\"" + source + "\" destVersion=\"2\" " + numbers + "/>";
}

const std::string kOddName = "&quot;a b&quot; 100% &amp; 'q' \xE7\x89\x88\xE6\x9C\xAC \xF0\x9F\x98\x80";
const std::wstring kOddNameRead = L"\"a b\" 100% & 'q' \u7248\u672C \U0001F600";
const std::string kHuge(4 << 20, 'x');
const std::wstring kHugeRead(4 << 20, L'x');
const std::string kDeep = Repeated("<a>", 100000) + Repeated("</a>", 100000);

const BadInput kBadInputs[] = {
    {"malformed", Reader::Quarnel, "<Quarnel><TextSet><Error>E</TextSet></Quarnel>", false, L""},
    {"truncated", Reader::Quarnel, Texts("E").substr(0, 30), false, L""},
    {"UTF-8 with BOM", Reader::Quarnel, "\xEF\xBB\xBF" + Texts("E"), true, L"E"},
    {"UTF-16 with BOM", Reader::Quarnel, Utf16Bytes(Texts("E"), true, true), false, L""},
    {"UTF-16 without BOM", Reader::Quarnel, Utf16Bytes(Texts("E"), true, false), false, L""},
    {"invalid UTF-8", Reader::Quarnel, Texts("\xFF\xFE"), false, L""},
    {"NUL inside a text", Reader::Quarnel, Texts(std::string("a\0b", 3)), false, L""},
    {"4 MiB text", Reader::Quarnel, Texts(kHuge), true, kHugeRead},
    {"4 MiB attribute", Reader::Quarnel,
     "<Quarnel a=\"" + kHuge + "\"><TextSet><Error>E</Error></TextSet></Quarnel>", true, L"E"},
    {"deeply nested", Reader::Quarnel, "<Quarnel>" + kDeep + "</Quarnel>", false, L""},
    {"odd characters", Reader::Quarnel, Texts(kOddName), true, kOddNameRead},

    {"malformed", Reader::Launcher, "<Launcher><CurClientVersion>1</Launcher>", false, L""},
    {"truncated", Reader::Launcher, Versions("1.0.0.7").substr(0, 40), false, L""},
    {"UTF-8 with BOM", Reader::Launcher, "\xEF\xBB\xBF" + Versions("7"), true, L"7"},
    {"UTF-16 with BOM", Reader::Launcher, Utf16Bytes(Versions("7"), false, true), false, L""},
    {"invalid UTF-8", Reader::Launcher, Versions("caf\xE9"), false, L""},
    {"4 MiB version", Reader::Launcher, Versions(kHuge), true, kHugeRead},
    {"deeply nested", Reader::Launcher, "<Launcher>" + kDeep + "</Launcher>", false, L""},
    {"odd characters", Reader::Launcher, Versions(kOddName), true, kOddNameRead},

    {"malformed", Reader::Manifest, "<root><launcher/><client></root>", false, L""},
    {"truncated", Reader::Manifest, Manifest(ClientPatch("1")).substr(0, 50), false, L""},
    {"UTF-8 with BOM", Reader::Manifest, "\xEF\xBB\xBF" + Manifest(ClientPatch("1")), true, L"1"},
    {"UTF-16 with BOM", Reader::Manifest, Utf16Bytes(Manifest(ClientPatch("\xE7\x89\x88")), false, true),
     true, L"\u7248"},
    {"UTF-16 without BOM", Reader::Manifest, Utf16Bytes(Manifest(ClientPatch("1")), true, false), true,
     L"1"},
    {"invalid UTF-8 version", Reader::Manifest, Manifest(ClientPatch("\xC0\xAF")), true, L""},
    {"4 MiB version", Reader::Manifest, Manifest(ClientPatch(kHuge)), true, kHugeRead},
    {"deeply nested", Reader::Manifest, Manifest(kDeep + ClientPatch("1")), true, L"1"},
    {"odd characters", Reader::Manifest, Manifest(ClientPatch(kOddName)), true, kOddNameRead},
};

// Every file under folder with its content.
std::map<std::string, std::string> Snapshot(const std::wstring& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(platform::NativePath(folder))) {
    if (fs::is_regular_file(entry.status())) {
      files[entry.path().string()] = ReadFile(platform::FromUtf8Lossy(entry.path().string()));
    }
  }
  return files;
}

class BadInputsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LocateGameRoot(L"updates", game_.InstallerFolder())); }

  void Write(const BadInput& input) const {
    const std::wstring path = input.reader == Reader::Quarnel    ? game_.QuarnelConfigPath()
                              : input.reader == Reader::Launcher ? game_.LauncherConfigPath()
                                                                 : game_.ManifestPath();
    WriteFile(path, input.bytes);
  }

  // The reader's answer and the value it read.
  std::pair<bool, std::wstring> Load(Reader reader) const {
    switch (reader) {
      case Reader::Quarnel: {
        TextTree tree;
        const bool loaded = LoadQuarnelConfig(tree);
        return {loaded, ValueAt(tree, L"Quarnel.TextSet.Error")};
      }
      case Reader::Launcher: {
        LauncherConfig config;
        const bool loaded = LoadLauncherConfig(config);
        return {loaded, config.CurClientVersion};
      }
      case Reader::Manifest: {
        const bool loaded = LoadManifest(game_.ManifestPath());
        const auto& patches = LauncherManifest::Instance().clientPatches;
        return {loaded, patches.empty() ? L"" : patches.front().srcVersion};
      }
    }
    return {};
  }

  GameLayout game_;
  InstallerProcess process_{game_};
};

TEST_F(BadInputsTest, EachReaderGivesItsOutcomeAndWritesNothingElse) {
  // The folder that holds the game folder.
  const std::wstring around =
      platform::FromUtf8Lossy(fs::path(platform::NativePath(game_.Root())).parent_path().string());
  const std::string backup = platform::NativePath(game_.LauncherConfigPath() + L".bak");
  for (const BadInput& input : kBadInputs) {
    SCOPED_TRACE(std::string(input.what) + ", reader " +
                 std::to_string(static_cast<int>(input.reader)));
    Write(input);
    auto before = Snapshot(around);
    const auto [loaded, value] = Load(input.reader);
    EXPECT_EQ(loaded, input.loads);
    EXPECT_TRUE(value == input.value) << "read " << value.size() << " characters";

    auto after = Snapshot(around);
    if (input.reader == Reader::Launcher) {
      // The back-up is the one file a reader writes: the configuration's copy.
      EXPECT_EQ(after.at(backup), input.bytes);
      before.erase(backup);
      after.erase(backup);
    }
    EXPECT_TRUE(after == before);
  }
}

TEST_F(BadInputsTest, OverlongPaths) {
  const std::wstring longName(10000, L'n');
  EXPECT_FALSE(LoadManifest(platform::JoinPath(game_.InstallerFolder(), longName)));
  // The game folder is found by the names above the installer, however long its path.
  ASSERT_TRUE(LocateGameRoot(L"updates", platform::JoinPath(game_.InstallerFolder(), longName)));
  EXPECT_EQ(GameRootFolder(), game_.Root());
  EXPECT_FALSE(LocateGameRoot(L"updates", L"/" + longName + L"/updates/x"));
}

}  // namespace
