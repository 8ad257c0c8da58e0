#include "config/text_sets.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "config/launcher_config.h"
#include "config/quarnel_config.h"
#include "engine/game_folders.h"
#include "platform/path.h"
#include "support/game_layout.h"

namespace {

using testing_support::GameLayout;
using testing_support::InstallerProcess;
using testing_support::WriteFile;

class QuarnelConfigTest : public ::testing::Test {
 protected:
  bool Load(const std::string& bytes) {
    WriteFile(game_.QuarnelConfigPath(), bytes);
    return LoadQuarnelConfig(QuarnelConfig());
  }
  bool LoadTextSet(const std::string& elements) {
    return Load("<Quarnel><TextSet>" + elements + "</TextSet></Quarnel>");
  }

  GameLayout game_;
  InstallerProcess process_{game_};
};

TEST_F(QuarnelConfigTest, ReadsTextsBesideTheProgramWhateverTheCurrentFolder) {
  ASSERT_TRUE(platform::System().SetCurrentFolder(game_.Root()));
  ASSERT_TRUE(LoadQuarnelConfig(QuarnelConfig()));
  EXPECT_EQ(QuarnelText(L"PatchPathError"), L"[PatchPathError]");
  EXPECT_EQ(QuarnelText(L"NotMatch"), L"[NotMatch %1%]");
}

TEST_F(QuarnelConfigTest, TextsAreTakenExactlyAsWritten) {
  ASSERT_TRUE(Load(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n"
      "<!-- texts -->\r\n"
      "<Quarnel><Other a=\"1\"/><TextSet>"
      "<Spaced>  two\r\n  lines </Spaced>"
      "<Entities>Save &amp; quit &lt;now&gt; &#x4E2D;&#25991;</Entities>"
      "<Mixed>a<![CDATA[<b>&#x4E2D;]]>c</Mixed>"
      "<Chinese>\xE6\x9B\xB4\xE6\x96\xB0</Chinese>"
      "<Twice>first</Twice><Twice>second</Twice>"
      "<Empty/>"
      "</TextSet></Quarnel>"));
  EXPECT_EQ(QuarnelText(L"Spaced"), L"  two\n  lines ");
  EXPECT_EQ(QuarnelText(L"Entities"), L"Save & quit <now> \u4E2D\u6587");
  EXPECT_EQ(QuarnelText(L"Mixed"), L"a<b>&#x4E2D;c");
  EXPECT_EQ(QuarnelText(L"Chinese"), L"\u66F4\u65B0");
  EXPECT_EQ(QuarnelText(L"Twice"), L"first");
  EXPECT_EQ(QuarnelText(L"Empty"), L"");
  EXPECT_EQ(QuarnelText(L"Missing"), L"");
}

TEST_F(QuarnelConfigTest, FilesWithoutTextsLoadWithEveryTextEmpty) {
  for (const std::string bytes : {"", "\xEF\xBB\xBF", "<Other/>", "<Quarnel/>"}) {
    EXPECT_TRUE(Load(bytes)) << bytes;
    EXPECT_EQ(QuarnelText(L"Error"), L"");
  }
}

TEST_F(QuarnelConfigTest, RefusedFileLeavesTheTextsAsTheyWere) {
  ASSERT_TRUE(LoadTextSet("<Error>kept</Error>"));
  const std::string refused[] = {
      "<Quarnel><TextSet><Error>broken</TextSet></Quarnel>",  // not well-formed
      "<Quarnel><TextSet><Error>caf\xE9</Error></TextSet></Quarnel>",  // Latin-1, not UTF-8
      "<Quarnel><TextSet><Error>\xC0\xAF</Error></TextSet></Quarnel>",  // overlong form
      "<Quarnel><TextSet><Error>\xED\xA0\x80</Error></TextSet></Quarnel>",  // surrogate
      "<Quarnel><TextSet><Error>cut \xE6\x9B</Error></TextSet></Quarnel>",  // truncated
  };
  for (const std::string& bytes : refused) {
    EXPECT_FALSE(Load(bytes)) << bytes;
    EXPECT_EQ(QuarnelText(L"Error"), L"kept");
  }
}

TEST_F(QuarnelConfigTest, MissingOrUnreadableFileFails) {
  TextTree tree;
  ASSERT_EQ(std::remove(platform::NativePath(game_.QuarnelConfigPath()).c_str()), 0);
  EXPECT_FALSE(LoadQuarnelConfig(tree));
  ASSERT_TRUE(platform::System().CreateFolder(game_.QuarnelConfigPath()));
  EXPECT_FALSE(LoadQuarnelConfig(tree));
  EXPECT_TRUE(tree.empty());
}

TEST_F(QuarnelConfigTest, SetsAreNeverMixed) {
  ASSERT_TRUE(LoadTextSet("<Error>installer</Error>"));
  WriteFile(game_.LauncherConfigPath(),
            "<Launcher><TextSet><Note>launcher</Note></TextSet></Launcher>");
  ASSERT_TRUE(LocateGameRoot(L"updates", game_.InstallerFolder()));
  ASSERT_TRUE(LoadLauncherConfig(LauncherConfig::Instance()));
  EXPECT_EQ(LauncherText(L"Note"), L"launcher");
  EXPECT_EQ(QuarnelText(L"Note"), L"");
  EXPECT_EQ(LauncherText(L"Error"), L"");
}

TEST(FormatTextTest, AppliesValuesOrGivesNothing) {
  struct Case {
    const wchar_t* pattern;
    const wchar_t* expected;
  };
  const Case oneValue[] = {
      {L"Get %1% first", L"Get Patch_a-b.exe first"},
      {L"Get %s first", L"Get Patch_a-b.exe first"},
      {L"%1% and %1%", L"Patch_a-b.exe and Patch_a-b.exe"},
      {L"100%% sure: %1%", L"100% sure: Patch_a-b.exe"},
      {L"no directive", L""},
      {L"%1% %2%", L""},
      {L"broken %", L""},
      {L"%1", L""},
      {L"%|", L""},
  };
  for (const Case& c : oneValue) {
    EXPECT_EQ(FormatText(c.pattern, L"Patch_a-b.exe"), c.expected) << c.pattern;
  }
  const Case twoValues[] = {
      {L"%1%/%2%", L"3/4294967295"},
      {L"%2% of %1%", L"4294967295 of 3"},
      {L"%d of %d", L"3 of 4294967295"},
      {L"checked %1%", L""},
      {L"%1% %2% %3%", L""},
  };
  for (const Case& c : twoValues) {
    EXPECT_EQ(FormatText(c.pattern, 3, 4294967295u), c.expected) << c.pattern;
  }
}

}  // namespace
