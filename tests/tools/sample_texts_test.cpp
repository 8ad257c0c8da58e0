// The sample's texts in every language carry every key the installer looks up, and the
// texts that take values format with them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/text_sets.h"
#include "config/xml_tree_file.h"
#include "platform/text_encoding.h"

namespace {

const std::vector<std::wstring> kInstallerKeys = {
    L"PatchPathError", L"Error", L"LauncherXMLNoFind", L"NotMatch", L"Caption", L"TextContent", L"OKBtn",
    L"CancelBtn", L"Installing_Check", L"Installing_Update", L"Installing_FileFalid", L"Installing_PatchErr",
    L"Installing_Added", L"Installing_Deleted", L"Installing_PatchFile"};
const std::vector<std::wstring> kInstallerKeysWithAPath = {L"NotMatch", L"Installing_FileFalid", L"Installing_PatchErr"};
const std::vector<std::wstring> kInstallerKeysWithCounts = {L"Installing_Check", L"Installing_Update"};
const std::vector<std::wstring> kLauncherKeys = {
    L"Error", L"Note", L"NeedDiskSpaceMore", L"WarningForClosing", L"DecompressUpdatePack", L"UpdateSuccessfully",
    L"UpdateFailedPleaseRetry", L"ParsePatchesIndexError", L"CopyFileFailed", L"To", L"SystemReturn", L"WorkingDir",
    L"NoExist", L"PatchFiles", L"CannotGenerate", L"ErrorOfPatchTarget", L"ApplyPatch", L"ToSource"};

TextTree Read(const std::string& relativePath) {
  TextTree tree;
  EXPECT_TRUE(ReadXmlTreeFile(platform::FromUtf8Lossy(QUARNEL_SOURCE_DIR "/" + relativePath), tree)) << relativePath;
  return tree;
}

std::wstring Text(const TextTree& tree, const std::wstring& set, const std::wstring& key) {
  return tree.get<std::wstring>(set + L".TextSet." + key, L"");
}

class SampleTextsTest : public testing::TestWithParam<std::string> {};

TEST_P(SampleTextsTest, InstallerTextsAreCompleteAndFormat) {
  const TextTree tree = Read("resources/Quarnel." + GetParam() + ".cfg");
  for (const std::wstring& key : kInstallerKeys) {
    EXPECT_FALSE(Text(tree, L"Quarnel", key).empty()) << platform::ToUtf8(key);
  }
  for (const std::wstring& key : kInstallerKeysWithAPath) {
    EXPECT_NE(FormatText(Text(tree, L"Quarnel", key), L"PATH").find(L"PATH"), std::wstring::npos)
        << platform::ToUtf8(key);
  }
  for (const std::wstring& key : kInstallerKeysWithCounts) {
    const std::wstring status = FormatText(Text(tree, L"Quarnel", key), 12, 345);
    EXPECT_TRUE(status.find(L"12") < status.find(L"345") && status.find(L"345") != std::wstring::npos)
        << platform::ToUtf8(key);
  }
}

TEST_P(SampleTextsTest, LauncherTextsAreComplete) {
  const TextTree tree = Read("tools/sample/Launcher." + GetParam() + ".cfg");
  for (const std::wstring& key : kLauncherKeys) {
    EXPECT_FALSE(Text(tree, L"Launcher", key).empty()) << platform::ToUtf8(key);
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, SampleTextsTest, testing::Values("en", "zh"));

}  // namespace
