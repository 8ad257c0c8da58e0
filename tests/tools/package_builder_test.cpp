#include "package_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <pugixml.hpp>
#include <random>

#include "engine/crc32.h"
#include "engine/file_utils.h"
#include "pack_error.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"
#include "tool_failure.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
namespace fs = std::filesystem;

std::string RandomBytes(std::size_t length, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(length, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator());
  return bytes;
}

struct IndexEntry {
  std::string patchFile, srcFile;
  std::uint32_t srcSize = 0, srcCrc = 0;
  bool operator==(const IndexEntry&) const = default;
};

struct ReadIndex {
  std::vector<std::string> added, deleted;
  std::vector<IndexEntry> patched;
};

ReadIndex ReadPackageIndex(const std::wstring& path) {
  pugi::xml_document document;
  EXPECT_TRUE(document.load_file(platform::NativePath(path).c_str()));
  const pugi::xml_node patches = document.child("Root").child("Patches");
  ReadIndex index;
  for (pugi::xml_node patch : patches.child("AddedFiles").children("Patch")) {
    index.added.push_back(patch.attribute("SrcFile").value());
  }
  for (pugi::xml_node patch : patches.child("DeletedFiles").children("Patch")) {
    index.deleted.push_back(patch.attribute("SrcFile").value());
  }
  for (pugi::xml_node patch : patches.child("PatchFiles").children("Patch")) {
    index.patched.push_back({patch.attribute("PatchFile").value(), patch.attribute("SrcFile").value(),
                             patch.attribute("SrcSize").as_uint(), patch.attribute("SrcCrc").as_uint()});
  }
  return index;
}

// PATH replaced for the life of the object, so a tool can go missing.
class ScopedSearchPath {
 public:
  explicit ScopedSearchPath(const std::string& path) : saved_(std::getenv("PATH")) { setenv("PATH", path.c_str(), 1); }
  ~ScopedSearchPath() { setenv("PATH", saved_.c_str(), 1); }

 private:
  std::string saved_;
};

class PackageBuilderTest : public testing::Test {
 public:
  std::wstring Old(const std::wstring& relative) const { return temp_ / (L"old\\" + relative); }
  std::wstring New(const std::wstring& relative) const { return temp_ / (L"new\\" + relative); }
  std::wstring Output() const { return temp_ / L"out"; }

  void WriteBoth(const std::wstring& relative, const std::string& bytes) {
    WriteFile(Old(relative), bytes);
    WriteFile(New(relative), bytes);
  }

  PackRequest Request() const {
    return PackRequest{.oldFolder = temp_ / L"old", .newFolder = temp_ / L"new", .fromVersion = L"1.0",
                       .toVersion = L"1.1", .outputFolder = Output(), .manifestPath = temp_ / L"out\\index.xml",
                       .jobs = 2};
  }

  PackSummary Pack(const PackRequest& request) {
    return BuildPackage(request, [this](const std::wstring& warning) { warnings_.push_back(warning); });
  }

  // Unpacks the package as the installer does; answers its top folder.
  std::wstring Unpack(const PackSummary& summary) {
    const std::wstring folder = temp_ / L"unpacked";
    EXPECT_EQ(platform::System().RunProgram(platform::FindProgram(L"7z"), {L"x", summary.packagePath, L"-o" + folder},
                                            temp_.Path()),
              0);
    return platform::JoinPath(folder, L"1.0-1.1");
  }

  std::string Decoded(const std::wstring& source, const std::wstring& delta) {
    const std::wstring output = temp_ / L"decoded";
    std::filesystem::remove(platform::NativePath(output));
    EXPECT_EQ(platform::System().RunProgram(platform::FindProgram(L"xdelta3"),
                                            {L"-d", L"-s", platform::WithNativeSeparators(source), platform::WithNativeSeparators(delta), output},
                                            temp_.Path()),
              0);
    return ReadFile(output);
  }

  bool Warned(const std::wstring& fragment) const {
    return std::ranges::any_of(warnings_, [&](const std::wstring& w) { return w.find(fragment) != std::wstring::npos; });
  }

  TempFolder temp_;
  std::vector<std::wstring> warnings_;
};

TEST_F(PackageBuilderTest, PackageAddsDeletesAndRebuildsExactlyTheChangedFiles) {
  WriteBoth(L"Launcher.exe", "launcher");
  WriteBoth(L"data\\same.bin", RandomBytes(70000, 1));
  WriteFile(Old(L"data\\maps\\forest.bin"), RandomBytes(300000, 2));
  std::string forest = RandomBytes(300000, 2);
  forest.replace(1000, 5000, RandomBytes(5000, 3));
  WriteFile(New(L"data\\maps\\forest.bin"), forest + "tail");
  WriteFile(Old(L"data\\equal-length.txt"), "abcdef");  // same length, other content
  WriteFile(New(L"data\\equal-length.txt"), "abcdeg");
  WriteFile(Old(L"config\\Launcher.cfg"), "<Launcher>old</Launcher>");
  WriteFile(New(L"config\\Launcher.cfg"), "<Launcher>new</Launcher>");
  WriteFile(Old(L"textures\\sky.dds"), "sky");
  WriteFile(New(L"textures\\天空\\云.dds"), "clouds");

  const PackSummary summary = Pack(Request());
  EXPECT_EQ(summary.packagePath, Output() + L"/1.0-1.1.7z");
  EXPECT_TRUE(warnings_.empty());

  const std::wstring top = Unpack(summary);
  const ReadIndex index = ReadPackageIndex(platform::JoinPath(top, L"1.0-1.1.xml"));
  EXPECT_EQ(index.added, std::vector<std::string>{"textures\\天空\\云.dds"});
  EXPECT_EQ(ReadFile(platform::JoinPath(top, L"textures\\天空\\云.dds")), "clouds");
  EXPECT_EQ(index.deleted, std::vector<std::string>{"textures\\sky.dds"});
  ASSERT_EQ(index.patched.size(), 3u);
  for (const IndexEntry& entry : index.patched) {
    const std::wstring game = *platform::FromUtf8(entry.srcFile);
    EXPECT_EQ(entry.patchFile, "deltas\\" + entry.srcFile + ".xd3");
    EXPECT_EQ(entry.srcSize, FileLength(Old(game)));
    EXPECT_EQ(entry.srcCrc, FileCrc32(Old(game)));
    EXPECT_EQ(Decoded(Old(game), platform::JoinPath(top, *platform::FromUtf8(entry.patchFile))), ReadFile(New(game)))
        << entry.srcFile;
  }
  EXPECT_EQ(index.patched[0].srcFile, "config\\Launcher.cfg");
  EXPECT_EQ(index.patched[2].srcFile, "data\\maps\\forest.bin");

  EXPECT_EQ(summary.patch.Size, FileLength(summary.packagePath));
  EXPECT_EQ(summary.patch.Crc, FileCrc32(summary.packagePath));
  std::vector<std::string> outputFiles;
  for (const auto& entry : fs::directory_iterator(platform::NativePath(Output()))) {
    outputFiles.push_back(entry.path().filename().string());
  }
  std::ranges::sort(outputFiles);
  EXPECT_EQ(outputFiles, (std::vector<std::string>{"1.0-1.1.7z", "index.xml"}));
}

TEST_F(PackageBuilderTest, ManifestKeepsItsOtherEntriesAndGetsThePackageFigures) {
  WriteFile(Old(L"a.txt"), "one");
  WriteFile(New(L"a.txt"), "two");
  WriteFile(temp_ / L"out\\index.xml",
            "<?xml version=\"1.0\"?>\n<!-- published by the launcher team -->\n<root>\n"
            "  <launcher><patch srcVersion=\"2.0\" destVersion=\"2.1\"/></launcher>\n"
            "  <client>\n"
            "    <patch srcVersion=\"0.9\" destVersion=\"1.0\" Size=\"77\" Crc=\"88\"/>\n"
            "    <patch srcVersion=\"1.0\" destVersion=\"1.1\" Size=\"1\" Crc=\"2\" Note=\"kept\"/>\n"
            "  </client>\n</root>\n");

  const PackSummary summary = Pack(Request());
  // Packing the same versions again gives the same package and leaves the manifest as it is.
  const std::string manifestBytes = ReadFile(temp_ / L"out\\index.xml");
  const PackSummary again = Pack(Request());
  EXPECT_EQ(again.patch.Size, summary.patch.Size);
  EXPECT_EQ(again.patch.Crc, summary.patch.Crc);
  EXPECT_EQ(ReadFile(temp_ / L"out\\index.xml"), manifestBytes);

  pugi::xml_document manifest;
  ASSERT_TRUE(manifest.load_file(platform::NativePath(temp_ / L"out\\index.xml").c_str(),
                                 pugi::parse_default | pugi::parse_comments));
  EXPECT_STREQ(manifest.first_child().value(), " published by the launcher team ");
  const pugi::xml_node root = manifest.child("root");
  EXPECT_STREQ(root.child("launcher").child("patch").attribute("destVersion").value(), "2.1");
  const pugi::xml_node earlier = root.child("client").child("patch");
  EXPECT_EQ(earlier.attribute("Size").as_uint(), 77u);
  const pugi::xml_node updated = earlier.next_sibling("patch");
  EXPECT_EQ(updated.attribute("Size").as_uint(), summary.patch.Size);
  EXPECT_EQ(updated.attribute("Crc").as_uint(), summary.patch.Crc);
  EXPECT_STREQ(updated.attribute("Note").value(), "kept");
  EXPECT_FALSE(updated.next_sibling("patch"));
}

TEST_F(PackageBuilderTest, WarnsAboutWhatThePackageCannotCarry) {
  WriteFile(Old(L"profile\\ServerList.ini"), "server=old");
  WriteFile(New(L"profile\\ServerList.ini"), "server=players-own");
  WriteFile(New(L"readme.txt"), "x");
  const std::string newFolder = platform::NativePath(temp_ / L"new");
  std::ofstream(newFolder + "/back\\slash.txt") << "one name holding a backslash";
  std::ofstream(newFolder + "/latin1-\xe9.txt") << "a name that is not UTF-8";

  const PackSummary summary = Pack(Request());

  EXPECT_TRUE(Warned(L"profile\\ServerList.ini, which the installer never patches"));
  EXPECT_TRUE(Warned(L"back\\slash.txt"));
  EXPECT_TRUE(Warned(L"latin1-"));
  const ReadIndex index = ReadPackageIndex(platform::JoinPath(Unpack(summary), L"1.0-1.1.xml"));
  EXPECT_EQ(index.added, std::vector<std::string>{"readme.txt"});
  EXPECT_TRUE(index.patched.empty());
}

TEST_F(PackageBuilderTest, DeltasMoveAsideForAnAddedFolderOfTheSameName) {
  WriteFile(Old(L"a.txt"), "one");
  WriteFile(New(L"a.txt"), "two");
  WriteFile(New(L"Deltas\\readme.txt"), "a game folder of that name");

  const ReadIndex index = ReadPackageIndex(platform::JoinPath(Unpack(Pack(Request())), L"1.0-1.1.xml"));

  ASSERT_EQ(index.patched.size(), 1u);
  EXPECT_EQ(index.patched[0].patchFile, "deltas-1\\a.txt.xd3");
  EXPECT_EQ(index.added, std::vector<std::string>{"Deltas\\readme.txt"});
}

struct FailureCase {
  const char* name;
  std::function<void(PackageBuilderTest&, PackRequest&)> arrange;
  const char* messageFragment;
  const char* onlyToolOnPath = nullptr;  // the other one goes missing
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.name; }

class PackageFailureTest : public PackageBuilderTest, public testing::WithParamInterface<FailureCase> {
 public:
  std::string FolderWithTool(const char* tool) const {
    const std::string folder = platform::NativePath(temp_ / L"bin");
    fs::create_directories(folder);
    fs::create_symlink(platform::NativePath(platform::FindProgram(platform::FromUtf8Lossy(tool))), folder + "/" + tool);
    return folder;
  }

  using PackageBuilderTest::New;
  using PackageBuilderTest::Old;
  using PackageBuilderTest::temp_;
};

TEST_P(PackageFailureTest, FailsClearlyAndLeavesTheOutputAsItWas) {
  WriteFile(Old(L"a.txt"), "one");
  WriteFile(New(L"a.txt"), "two");
  WriteFile(New(L"b.txt"), "added");
  const std::string manifest = "<root><launcher/><client/></root>";
  WriteFile(temp_ / L"out\\index.xml", manifest);
  PackRequest request = Request();
  GetParam().arrange(*this, request);
  std::optional<ScopedSearchPath> searchPath;
  if (GetParam().onlyToolOnPath) searchPath.emplace(FolderWithTool(GetParam().onlyToolOnPath));

  try {
    Pack(request);
    ADD_FAILURE() << "no error";
  } catch (const PackError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().messageFragment), std::string::npos) << error.what();
  }
  std::vector<fs::path> left;
  for (const auto& entry : fs::recursive_directory_iterator(platform::NativePath(Output()))) left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<fs::path>{platform::NativePath(temp_ / L"out\\index.xml")});
  EXPECT_EQ(ReadFile(temp_ / L"out\\index.xml"), manifest);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, PackageFailureTest,
    testing::Values(
        FailureCase{"MissingOldFolder", [](auto&, PackRequest& r) { r.oldFolder += L"-missing"; }, "is not a folder"},
        FailureCase{"EqualVersions", [](auto&, PackRequest& r) { r.toVersion = r.fromVersion; }, "both \"1.0\""},
        FailureCase{"VersionWithSeparator", [](auto&, PackRequest& r) { r.toVersion = L"1/1"; }, "cannot be a version"},
        FailureCase{"UnwritableOutput",
                    [](PackageBuilderTest& t, PackRequest& r) {
                      WriteFile(t.temp_ / L"blocker", "a file where a folder should be");
                      r.outputFolder = t.temp_ / L"blocker\\packages";
                    },
                    "cannot write"},
        FailureCase{"UnwritableManifest",
                    [](PackageBuilderTest& t, PackRequest& r) { r.manifestPath = t.temp_ / L"missing\\index.xml"; },
                    "cannot write"},
        FailureCase{"Missing7z", [](auto&, PackRequest&) {}, "7z was found neither", "xdelta3"},
        FailureCase{"MissingXdelta3", [](auto&, PackRequest&) {}, "xdelta3 was found neither", "7z"},
        FailureCase{"FileTooLargeForTheIndex",
                    [](PackageBuilderTest& t, PackRequest&) {
                      WriteFile(t.New(L"video\\intro.bik"), "");
                      fs::resize_file(platform::NativePath(t.New(L"video\\intro.bik")), std::uint64_t{1} << 32);
                    },
                    "at most 4294967295 bytes"},
        FailureCase{"FileBecomesFolder",
                    [](PackageBuilderTest& t, PackRequest&) {
                      WriteFile(t.Old(L"data"), "a file");
                      WriteFile(t.New(L"data\\inside.bin"), "now a folder");
                    },
                    "a file in one version and a folder in the other"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

}  // namespace
