#include "config/launcher_manifest.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "support/game_layout.h"
#include "support/temp_folder.h"
#include "support/utf16_bytes.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

class LauncherManifestTest : public ::testing::Test {
 protected:
  bool Load(const std::string& xml) {
    WriteFile(path_, xml);
    return LoadManifest(path_);
  }
  bool LoadClient(const std::string& clientPatches) {
    return Load("<root><launcher/><client>" + clientPatches + "</client></root>");
  }
  const std::vector<PatchInfo>& Client() const { return LauncherManifest::Instance().clientPatches; }
  const std::vector<PatchInfo>& Launcher() const {
    return LauncherManifest::Instance().launcherPatches;
  }

  TempFolder folder_;
  std::wstring path_ = folder_ / L"index.xml";
};

TEST_F(LauncherManifestTest, ReadsBothListsInDocumentOrder) {
  ASSERT_TRUE(Load(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<root>\n"
      "  <launcher><patch srcVersion=\"L1\" destVersion=\"L2\"/><other/>"
      "<patch srcVersion=\"L2\" destVersion=\"L3\" Size=\"5\" Crc=\"6\"/></launcher>\n"
      "  <client>\n"
      "    <patch srcVersion=\"1.0.1\" destVersion=\"1.0.2\" Size=\"12345\" Crc=\"987\"/>\n"
      "    <patch srcVersion=\"\xE7\x89\x88 1\" destVersion=\"1.0.3\" Size=\"1\" Crc=\"2\"/>\n"
      "    <group><patch srcVersion=\"x\" destVersion=\"y\" Size=\"1\" Crc=\"1\"/></group>\n"
      "  </client>\n"
      "  <client><patch srcVersion=\"second\" destVersion=\"client\" Size=\"1\" Crc=\"1\"/></client>\n"
      "</root>\n"));
  EXPECT_EQ(Launcher(), (std::vector<PatchInfo>{{L"L1", L"L2", 0, 0}, {L"L2", L"L3", 0, 0}}));
  EXPECT_EQ(Client(), (std::vector<PatchInfo>{{L"1.0.1", L"1.0.2", 12345, 987},
                                              {L"\u7248 1", L"1.0.3", 1, 2}}));
}

TEST_F(LauncherManifestTest, NumbersAndMissingAttributes) {
  ASSERT_TRUE(LoadClient(
      "<patch srcVersion=\"a\" destVersion=\"b\" Size=\"  42abc\" Crc=\"0x1F\"/>"
      "<patch srcVersion=\"c\" destVersion=\"d\" Crc=\"99999999999\"/>"
      "<patch srcVersion=\"e\" Size=\"1\" Crc=\"1\"/>"
      "<patch destVersion=\"f\" Size=\"1\" Crc=\"1\"/>"
      "<patch srcVersion=\"g\" destVersion=\"\" Size=\"1\" Crc=\"1\"/>"
      "<patch srcVersion=\"h\" destVersion=\"i\" Size=\"-1\" Crc=\"7\"/>"
      "<Patch srcVersion=\"j\" destVersion=\"k\" Size=\"1\" Crc=\"1\"/>"));
  EXPECT_EQ(Client(), (std::vector<PatchInfo>{{L"a", L"b", 42, 0},
                                              {L"c", L"d", 0, 4294967295u},
                                              {L"h", L"i", 4294967295u, 7}}));
}

TEST_F(LauncherManifestTest, EmptyListsLoad) {
  EXPECT_TRUE(Load("<root><launcher/><client></client></root>"));
  EXPECT_TRUE(Launcher().empty());
  EXPECT_TRUE(Client().empty());
}

TEST_F(LauncherManifestTest, RefusedDocumentsFailAndLeaveNoClientPatches) {
  const std::string refused[] = {
      "<root><client><patch srcVersion=\"a\" destVersion=\"b\" Size=\"1\" Crc=\"1\"/></client></root>",
      "<root><launcher/></root>",
      "<Root><launcher/><client/></Root>",
      "<other><root><launcher/><client/></root></other>",
      "<root><launcher/><client>",
      "",
  };
  for (const std::string& xml : refused) {
    ASSERT_TRUE(LoadClient("<patch srcVersion=\"a\" destVersion=\"b\" Size=\"1\" Crc=\"1\"/>"));
    EXPECT_FALSE(Load(xml)) << xml;
    EXPECT_TRUE(Client().empty()) << xml;
  }
  EXPECT_FALSE(LoadManifest(folder_ / L"missing.xml"));
  EXPECT_FALSE(LoadManifest(folder_.Path()));
}

TEST_F(LauncherManifestTest, Utf16WithByteOrderMarkReadsLikeUtf8) {
  const std::wstring xml =
      L"<root><launcher/><client>"
      L"<patch srcVersion=\"\u7248\u672C1\" destVersion=\"2\" Size=\"10\" Crc=\"20\"/>"
      L"</client></root>";
  ASSERT_TRUE(Load(testing_support::Utf16Bytes(platform::ToUtf8(xml), true, true)));
  EXPECT_EQ(Client(), (std::vector<PatchInfo>{{L"\u7248\u672C1", L"2", 10, 20}}));
}

TEST_F(LauncherManifestTest, VersionThatIsNotUtf8IsSkipped) {
  ASSERT_TRUE(LoadClient("<patch srcVersion=\"caf\xE9\" destVersion=\"b\" Size=\"1\" Crc=\"1\"/>"
                         "<patch srcVersion=\"ok\" destVersion=\"b\" Size=\"1\" Crc=\"1\"/>"));
  EXPECT_EQ(Client(), (std::vector<PatchInfo>{{L"ok", L"b", 1, 1}}));
}

TEST_F(LauncherManifestTest, FindClientPatchTakesTheFirstExactMatch) {
  ASSERT_TRUE(LoadClient("<patch srcVersion=\"1.0\" destVersion=\"1.1\" Size=\"1\" Crc=\"2\"/>"
                         "<patch srcVersion=\"1.0\" destVersion=\"1.2\" Size=\"3\" Crc=\"4\"/>"
                         "<patch srcVersion=\"v2\" destVersion=\"v3\" Size=\"5\" Crc=\"6\"/>"));
  EXPECT_EQ(FindClientPatch(L"1.0"), (PatchInfo{L"1.0", L"1.1", 1, 2}));
  EXPECT_EQ(FindClientPatch(L"v2"), (PatchInfo{L"v2", L"v3", 5, 6}));
  for (const wchar_t* other : {L"1.0 ", L" 1.0", L"1", L"V2", L""}) {
    EXPECT_EQ(FindClientPatch(other), PatchInfo()) << platform::ToUtf8(other);
  }
}

TEST_F(LauncherManifestTest, LoadingAgainReplacesTheLists) {
  const std::string one =
      "<root><launcher><patch srcVersion=\"L1\" destVersion=\"L2\"/></launcher><client>"
      "<patch srcVersion=\"a\" destVersion=\"b\" Size=\"1\" Crc=\"1\"/></client></root>";
  ASSERT_TRUE(Load(one));
  ASSERT_TRUE(Load(one));
  EXPECT_EQ(Launcher().size(), 1u);
  EXPECT_EQ(Client().size(), 1u);
}

}  // namespace
