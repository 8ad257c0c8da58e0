#include "engine/patch_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "support/temp_folder.h"
#include "support/utf16_bytes.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

std::string IndexXml(const std::string& lists, const std::string& patchesAttributes = "") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root><Patches" + patchesAttributes + ">" + lists +
         "</Patches></Root>\n";
}

std::string Lists(const std::string& added, const std::string& deleted, const std::string& patched) {
  return "<AddedFiles>" + added + "</AddedFiles><DeletedFiles>" + deleted + "</DeletedFiles><PatchFiles>" +
         patched + "</PatchFiles>";
}

std::string PatchElement(const std::string& srcFile) {
  return "<Patch PatchFile=\"d\\" + srcFile + ".delta\" SrcFile=\"" + srcFile + "\" SrcSize=\"1\" SrcCrc=\"2\"/>";
}

std::vector<std::wstring> SrcFiles(const std::vector<PatchEntry>& entries) {
  std::vector<std::wstring> files;
  for (const PatchEntry& entry : entries) files.push_back(entry.SrcFile);
  return files;
}

class PatchIndexTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& bytes) {
    WriteFile(path_, bytes);
    return ParsePatchIndex(index_, path_);
  }

  TempFolder folder_;
  const std::wstring path_ = folder_ / L"1.0-1.1.xml";
  PatchIndex index_;
};

TEST_F(PatchIndexTest, ReadsEveryListInDocumentOrder) {
  ASSERT_TRUE(Parse(IndexXml(
      Lists("<Patch SrcFile=\"data\\new.pak\"/><!-- note --><Patch SrcFile=\"b.txt\" Other=\"x\"/>",
            "<Patch SrcFile=\"old.dll\"/>",
            "<Patch PatchFile=\"diff\\game.exe.delta\" SrcFile=\"game.exe\" SrcSize=\" +123\" SrcCrc=\"4294967295\"/>"
            "<File SrcFile=\"skipped\"/><patch SrcFile=\"skipped\"/>text"
            "<Patch PatchFile=\"x.delta\" SrcFile=\"x.dat\" SrcCrc=\"0xFFFFFFFF\"/>"),
      " TotalSize=\"9000\"")));

  EXPECT_EQ(index_.TotalSize, 9000u);
  EXPECT_EQ(SrcFiles(index_.AddedFiles), (std::vector<std::wstring>{L"data\\new.pak", L"b.txt"}));
  EXPECT_EQ(SrcFiles(index_.DeletedFiles), (std::vector<std::wstring>{L"old.dll"}));
  ASSERT_EQ(index_.PatchFiles.size(), 2u);
  const PatchEntry& game = index_.PatchFiles[0];
  EXPECT_EQ(game.PatchFile, L"diff\\game.exe.delta");
  EXPECT_EQ(game.SrcFile, L"game.exe");
  EXPECT_EQ(game.kind, Patched);
  EXPECT_EQ(game.SrcSize, 123u);
  EXPECT_EQ(game.SrcCrc, 0xFFFFFFFFu);
  EXPECT_EQ(index_.PatchFiles[1].SrcSize, 0u);  // attribute missing
  EXPECT_EQ(index_.PatchFiles[1].SrcCrc, 0u);   // hexadecimal is not read
  EXPECT_EQ(index_.AddedFiles[0].kind, Added);
  EXPECT_TRUE(index_.AddedFiles[0].PatchFile.empty());
  EXPECT_EQ(index_.DeletedFiles[0].kind, Deleted);
}

TEST_F(PatchIndexTest, EmptyListsAreAnIndex) {
  index_.TotalSize = 77;
  ASSERT_TRUE(Parse(IndexXml(Lists("", "", ""))));
  EXPECT_EQ(index_.TotalSize, 0u);
  EXPECT_TRUE(index_.AddedFiles.empty());
  EXPECT_TRUE(index_.DeletedFiles.empty());
  EXPECT_TRUE(index_.PatchFiles.empty());
}

TEST_F(PatchIndexTest, MissingPartsAreRefused) {
  const std::string added = "<AddedFiles><Patch SrcFile=\"a\"/></AddedFiles>";
  const std::vector<std::string> documents = {
      "<Root><Patches>" + added + "<DeletedFiles/><PatchFiles/>",  // not well-formed
      "<Other><Patches>" + added + "<DeletedFiles/><PatchFiles/></Patches></Other>",
      "<Root><Other>" + added + "<DeletedFiles/><PatchFiles/></Other></Root>",
      IndexXml("<DeletedFiles/><PatchFiles/>"),
      IndexXml(added + "<PatchFiles/>"),
      IndexXml(added + "<DeletedFiles/>"),
      IndexXml(added + "<deletedFiles/><PatchFiles/>"),
  };
  for (const std::string& document : documents) {
    EXPECT_FALSE(Parse(document)) << document;
  }
  EXPECT_FALSE(ParsePatchIndex(index_, folder_ / L"missing.xml"));
}

TEST_F(PatchIndexTest, KeepsWhatWasReadBeforeAMissingList) {
  ASSERT_FALSE(Parse(IndexXml("<AddedFiles><Patch SrcFile=\"a\"/></AddedFiles><PatchFiles/>")));
  EXPECT_EQ(index_.AddedFiles.size(), 1u);
}

TEST_F(PatchIndexTest, LauncherConfigurationGoesLastAndServerListIsDropped) {
  ASSERT_TRUE(Parse(IndexXml(Lists(
      "<Patch SrcFile=\"profile\\ServerList.ini\"/>", "<Patch SrcFile=\"profile\\ServerList.ini\"/>",
      PatchElement("config\\Launcher.cfg") + PatchElement("a.dat") + PatchElement("profile\\ServerList.ini") +
          PatchElement("b.dat") + PatchElement("config\\Launcher.cfg") + PatchElement("profile\\ServerList.ini") +
          PatchElement("c.dat")))));

  EXPECT_EQ(SrcFiles(index_.PatchFiles),
            (std::vector<std::wstring>{L"a.dat", L"b.dat", L"config\\Launcher.cfg", L"profile\\ServerList.ini",
                                       L"c.dat", L"config\\Launcher.cfg"}));
  EXPECT_EQ(index_.PatchFiles.back().PatchFile, L"d\\config\\Launcher.cfg.delta");
  EXPECT_EQ(index_.AddedFiles.size(), 1u);
  EXPECT_EQ(index_.DeletedFiles.size(), 1u);
}

TEST_F(PatchIndexTest, OnlyTheExactSpellingsAreSpecial) {
  ASSERT_TRUE(Parse(IndexXml(Lists("", "",
                                   PatchElement("Config\\Launcher.cfg") + PatchElement("config/Launcher.cfg") +
                                       PatchElement("profile\\serverlist.ini") + PatchElement("a.dat")))));
  EXPECT_EQ(SrcFiles(index_.PatchFiles),
            (std::vector<std::wstring>{L"Config\\Launcher.cfg", L"config/Launcher.cfg", L"profile\\serverlist.ini",
                                       L"a.dat"}));
}

TEST_F(PatchIndexTest, Utf16WithByteOrderMarkReadsLikeUtf8) {
  const std::wstring text =
      L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Root><Patches TotalSize=\"5\"><AddedFiles>"
      L"<Patch SrcFile=\"数据\\新 文件.pak\"/></AddedFiles><DeletedFiles/><PatchFiles>"
      L"<Patch PatchFile=\"é.delta\" SrcFile=\"é.dat\" SrcSize=\"10\" SrcCrc=\"20\"/></PatchFiles></Patches></Root>";
  const std::string bytes = testing_support::Utf16Bytes(platform::ToUtf8(text), true, true);
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(index_.TotalSize, 5u);
  EXPECT_EQ(SrcFiles(index_.AddedFiles), (std::vector<std::wstring>{L"数据\\新 文件.pak"}));
  EXPECT_EQ(index_.PatchFiles.at(0).PatchFile, L"é.delta");
  EXPECT_EQ(index_.PatchFiles.at(0).SrcSize, 10u);
}

// A downloaded index must not make the installer write or delete outside the game folder.
TEST_F(PatchIndexTest, PathsLeavingTheFolderAreRefused) {
  const std::vector<std::string> unsafe = {
      "",       "..\\..\\..\\somewhere\\file", "a\\..\\..\\b", "..",   "a/../b", "\\Windows\\file",
      "/etc/passwd", "C:\\file",             "c:file",      "a\\..", "\\\\server\\share\\x",
  };
  for (const std::string& path : unsafe) {
    const std::string quoted = "\"" + path + "\"";
    EXPECT_FALSE(Parse(IndexXml(Lists("<Patch SrcFile=" + quoted + "/>", "", "")))) << path;
    EXPECT_FALSE(Parse(IndexXml(Lists("", "<Patch SrcFile=" + quoted + "/>", "")))) << path;
    EXPECT_FALSE(Parse(IndexXml(Lists("", "", "<Patch PatchFile=\"d\" SrcFile=" + quoted + "/>")))) << path;
    EXPECT_FALSE(Parse(IndexXml(Lists("", "", "<Patch PatchFile=" + quoted + " SrcFile=\"a\"/>")))) << path;
  }
  EXPECT_FALSE(Parse(IndexXml(Lists("<Patch/>", "", "")))) << "missing SrcFile";
  EXPECT_FALSE(Parse(IndexXml(Lists("", "", "<Patch SrcFile=\"a\"/>")))) << "missing PatchFile";
}

TEST_F(PatchIndexTest, OrdinaryPathsAreAccepted) {
  const std::vector<std::string> safe = {
      "a.dat", "data\\maps\\level 1.map", "data/maps/x.map", "..hidden\\x..y", ".\\a", "数据\\文件.pak", "ab:c",
  };
  for (const std::string& path : safe) {
    EXPECT_TRUE(Parse(IndexXml(Lists("<Patch SrcFile=\"" + path + "\"/><Patch SrcFile=\"" + path + "\"/>", "",
                                     "<Patch PatchFile=\"" + path + "\" SrcFile=\"" + path + "\"/>"))))
        << path;
  }
}

}  // namespace
