#include "engine/updater.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <boost/filesystem.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/game_folders.h"
#include "entries.h"
#include "installer_run.h"
#include "platform/path.h"
#include "recording_dialog.h"
#include "support/file_opener_process.h"
#include "support/game_layout.h"
#include "support/temp_folder.h"

namespace {

using namespace engine_testing;
using testing_support::Exists;
using testing_support::FileOpenerProcess;
using testing_support::GameLayout;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// The game folder outside its updates folder: every file's path ('/'-separated) and CRC,
// every folder's path with a trailing '/'.
std::map<std::string, std::uint32_t> GameFiles(const std::wstring& root) {
  namespace fs = boost::filesystem;
  const fs::path rootPath(platform::NativePath(root));
  std::map<std::string, std::uint32_t> files;
  for (fs::recursive_directory_iterator entry(rootPath), end; entry != end; ++entry) {
    const std::string relative = entry->path().lexically_relative(rootPath).string();
    if (relative == "updates") {
      entry.disable_recursion_pending();
    } else if (fs::is_directory(entry->status())) {
      files[relative + "/"] = 0;
    } else {
      files[relative] = Crc(ReadFile(platform::FromUtf8Lossy(entry->path().string())));
    }
  }
  return files;
}

const std::string kPatchedSource = std::string(40000, 'g') + "version 7";
const std::string kPatchedTarget = std::string(40000, 'g') + "version 8, longer";

class UpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CUpdater& updater = CUpdater::Instance();
    updater.checkedCount = 0;  // as left by an earlier run in this process
    updater.updatedCount = 0;
    dialog_ = std::make_shared<RecordingDialog>();
    updater.AttachDialog(dialog_, dialog_.get());
    WriteFile(Game(L"old.dll"), "old");
    WriteFile(Game(L"bin/game.exe"), kPatchedSource);
    WriteFile(Game(L"config/Launcher.cfg"), "launcher 7");
    WriteFile(Game(L"数据/空 间.pak"), kPatchedSource);
  }
  void TearDown() override { CUpdater::Instance().DetachDialog(); }

  std::wstring Game(const std::wstring& relative) const { return platform::JoinPath(game_.Root(), relative); }
  std::wstring BaseName() const { return PackageBaseName(game_.Patch()); }
  std::wstring Unpacked() const { return platform::JoinPath(ProgramFolder(), BaseName()); }
  std::wstring Staging() const { return InstallerFolder(); }

  // Builds the package from the top folder's files and the index, with the real 7z.
  void BuildPackage(const std::string& indexLists, const std::wstring& topFolder = L"") {
    const std::wstring build = work_ / (L"build " + std::to_wstring(++builds_));
    const std::wstring top = platform::JoinPath(build, topFolder.empty() ? BaseName() : topFolder);
    WriteFile(platform::JoinPath(top, L"data/new files/added 1.txt"), "added one");
    WriteFile(platform::JoinPath(top, L"数据/新文件.txt"), "新");
    WriteFile(work_ / L"targets/game.exe", kPatchedTarget);
    WriteFile(work_ / L"targets/Launcher.cfg", "launcher 8");
    EncodeDelta(Game(L"bin/game.exe"), work_ / L"targets/game.exe", platform::JoinPath(top, L"d/game.exe.delta"));
    EncodeDelta(Game(L"config/Launcher.cfg"), work_ / L"targets/Launcher.cfg", platform::JoinPath(top, L"d/L.delta"));
    EncodeDelta(Game(L"数据/空 间.pak"), work_ / L"targets/game.exe", platform::JoinPath(top, L"d/空 间.delta"));
    WriteFile(platform::JoinPath(top, BaseName() + L".xml"),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root><Patches TotalSize=\"1\">" + indexLists +
                  "</Patches></Root>");
    const std::wstring archive = platform::JoinPath(build, L"package.7z");
    Shell("cd " + ShellWord(build) + " && 7z a " + ShellWord(archive) + " " + ShellWord(top));
    game_.WritePackage(ReadFile(archive));
  }

  static std::string FullIndex() {
    const std::string source = std::to_string(kPatchedSource.size()) + "\" SrcCrc=\"" + std::to_string(Crc(kPatchedSource));
    const std::string launcher = "10\" SrcCrc=\"" + std::to_string(Crc("launcher 7"));
    return "<AddedFiles><Patch SrcFile=\"data\\new files\\added 1.txt\"/><Patch SrcFile=\"数据\\新文件.txt\"/>"
           "</AddedFiles><DeletedFiles><Patch SrcFile=\"old.dll\"/><Patch SrcFile=\"never there.dll\"/></DeletedFiles>"
           "<PatchFiles>"
           "<Patch PatchFile=\"d\\L.delta\" SrcFile=\"config\\Launcher.cfg\" SrcSize=\"" + launcher + "\"/>"
           "<Patch PatchFile=\"d\\game.exe.delta\" SrcFile=\"bin\\game.exe\" SrcSize=\"" + source + "\"/>"
           "<Patch PatchFile=\"d\\空 间.delta\" SrcFile=\"数据\\空 间.pak\" SrcSize=\"" + source + "\"/>"
           "</PatchFiles>";
  }

  std::vector<std::uint32_t> Codes() const {
    std::vector<std::uint32_t> codes;
    for (const Report& report : dialog_->reports) codes.push_back(report.code);
    return codes;
  }

  GameLayout game_;
  InstallerRun installer_{game_};
  TempFolder work_;
  int builds_ = 0;
  std::shared_ptr<RecordingDialog> dialog_;
};

TEST_F(UpdaterTest, SuccessfulUpdate) {
  BuildPackage(FullIndex());
  WriteFile(Staging() + L"/stale", "left by an earlier run");
  const std::string package = ReadFile(game_.PackagePath());

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(dialog_->reports, (std::vector<Report>{{Started, 0, 0}, {Unpacking, 0, 0}, {Counted, 0, 0},
                                                   {Checking, 0, 0}, {Applying, 7, 0}, {Succeeded, 7, 7}}));
  EXPECT_EQ(CUpdater::Instance().checkTotal.load(), 7u);
  EXPECT_EQ(CUpdater::Instance().updateTotal.load(), 7u);
  const std::wstring root = game_.Root() + L"/";
  const std::wstring staging = Staging() + L"/";
  EXPECT_EQ(dialog_->log, (std::vector<std::wstring>{
                              L"[Installing_Added]" + root + L"data/new files/added 1.txt",
                              L"[Installing_Added]" + root + L"数据/新文件.txt",
                              L"[Installing_Deleted]" + root + L"old.dll",
                              L"[Installing_Deleted]" + root + L"never there.dll",
                              L"[Installing_PatchFile]" + staging + L"bin/game.exe",
                              L"[Installing_PatchFile]" + staging + L"数据/空 间.pak",
                              L"[Installing_PatchFile]" + staging + L"config/Launcher.cfg",
                          }));
  EXPECT_TRUE(dialog_->statusTexts.empty());
  EXPECT_TRUE(installer_.BoxTexts().empty());

  EXPECT_EQ(ReadFile(Game(L"data/new files/added 1.txt")), "added one");
  EXPECT_EQ(ReadFile(Game(L"数据/新文件.txt")), "新");
  EXPECT_FALSE(Exists(Game(L"old.dll")));
  EXPECT_EQ(ReadFile(Game(L"bin/game.exe")), kPatchedTarget);
  EXPECT_EQ(ReadFile(Game(L"数据/空 间.pak")), kPatchedTarget);
  EXPECT_EQ(ReadFile(Game(L"config/Launcher.cfg")), "launcher 8");
  EXPECT_FALSE(Exists(Unpacked()));
  EXPECT_FALSE(Exists(Staging()));
  EXPECT_EQ(ReadFile(game_.PackagePath()), package);
  EXPECT_TRUE(testing_support::OtherProcessCanOpenAndLock(Game(L"bin/game.exe"))) << "nothing stays held";
}

TEST_F(UpdaterTest, EmptyIndexWithoutDialog) {
  CUpdater::Instance().DetachDialog();
  BuildPackage("<AddedFiles/><DeletedFiles/><PatchFiles/>");

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), Succeeded);
  EXPECT_EQ(CUpdater::Instance().checkTotal.load(), 0u);
  EXPECT_TRUE(dialog_->reports.empty());
  EXPECT_FALSE(Exists(Unpacked()));
}

TEST_F(UpdaterTest, IncompletePatchDoesNothing) {
  PatchInfo patch = game_.Patch();
  patch.Crc = 0;
  CUpdater::Instance().run(patch);
  EXPECT_TRUE(dialog_->reports.empty());
}

TEST_F(UpdaterTest, ArchiverMissing) {
  BuildPackage(FullIndex());
  {
    const ScopedSearchPath emptyPath(work_.Path());
    CUpdater::Instance().run(game_.Patch());
  }

  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed}));
  EXPECT_TRUE(dialog_->statusTexts.empty());
  EXPECT_TRUE(installer_.BoxTexts().empty());
  EXPECT_FALSE(Exists(Unpacked()));
}

// The package's name names folders beside the installer; one that is no plain name could
// make the run unpack or delete elsewhere.
TEST_F(UpdaterTest, PackageNameThatIsNoPlainNameIsRefused) {
  PatchInfo patch = game_.Patch();
  patch.srcVersion = L"../../elsewhere";
  CUpdater::Instance().run(patch);
  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed}));
  EXPECT_TRUE(installer_.BoxTexts().empty());
}

TEST(UpdaterPlacementTest, InstallerInsideTheStagingFolderIsRefused) {
  GameLayout game({.installerFolder = L"updates/installer"});
  InstallerRun installer(game);
  CUpdater::Instance().DetachDialog();
  TempFolder work;
  const std::wstring baseName = PackageBaseName(game.Patch());
  WriteFile(work / (baseName + L"/" + baseName + L".xml"),
            "<Root><Patches><AddedFiles/><DeletedFiles/><PatchFiles/></Patches></Root>");
  Shell("cd " + ShellWord(work.Path()) + " && 7z a package.7z " + ShellWord(baseName));
  game.WritePackage(ReadFile(work / L"package.7z"));

  CUpdater::Instance().run(game.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), PrepareFailed);
  EXPECT_TRUE(Exists(game.PackagePath()));
  EXPECT_TRUE(Exists(game.InstallerPath()));
}

// Nothing in the game folder changes when the package cannot be read.
TEST_F(UpdaterTest, UnreadablePackages) {
  struct Case {
    const char* name;
    std::string lists;
    std::wstring topFolder;
  };
  const Case cases[] = {
      {"no top folder of the package's name", FullIndex(), L"other"},
      {"index without its lists", "<AddedFiles/>", L""},
      {"index leaving the game folder", "<AddedFiles/><DeletedFiles><Patch SrcFile=\"..\\..\\x\"/></DeletedFiles>"
                                        "<PatchFiles/>", L""},
  };
  for (const Case& c : cases) {
    dialog_->reports.clear();
    dialog_->statusTexts.clear();
    BuildPackage(c.lists, c.topFolder);
    const auto before = GameFiles(game_.Root());

    CUpdater::Instance().run(game_.Patch());

    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed})) << c.name;
    EXPECT_EQ(dialog_->statusTexts, std::vector<std::wstring>{L"(ParsePatchesIndexError)"}) << c.name;
    EXPECT_EQ(GameFiles(game_.Root()), before) << c.name;
  }
  EXPECT_TRUE(installer_.BoxTexts().empty());
}

TEST_F(UpdaterTest, DamagedArchiveIsAnUnreadablePackage) {
  game_.WritePackage("7z\xBC\xAF\x27\x1C damaged");
  const auto before = GameFiles(game_.Root());

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed}));
  EXPECT_EQ(dialog_->statusTexts, std::vector<std::wstring>{L"(ParsePatchesIndexError)"});
  EXPECT_EQ(GameFiles(game_.Root()), before);
}

TEST_F(UpdaterTest, ChangedGameFileStopsBeforeAnyChange) {
  BuildPackage(FullIndex());
  WriteFile(Game(L"bin/game.exe"), std::string(40000, 'g') + "version X");
  const auto before = GameFiles(game_.Root());

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(dialog_->reports.back(), (Report{FileStepFailed, 4, 0}));
  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, Counted, Checking, FileStepFailed}));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"[Installing_PatchErr " + Game(L"bin/game.exe") + L"] | [Error]"});
  EXPECT_EQ(GameFiles(game_.Root()), before);
  EXPECT_TRUE(Exists(Unpacked())) << "the unpacked package stays";
  EXPECT_TRUE(testing_support::OtherProcessCanOpenAndLock(Game(L"old.dll"))) << "held files are released";
}

TEST_F(UpdaterTest, GameFileInUseStopsBeforeAnyChange) {
  BuildPackage(FullIndex());
  const FileOpenerProcess client(Game(L"old.dll"));
  const auto before = GameFiles(game_.Root());

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, Counted, Checking, FileStepFailed}));
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{L"[Installing_FileFalid " + Game(L"old.dll") + L"] | (Error)"});
  EXPECT_EQ(GameFiles(game_.Root()), before);
}

// The soft limit of open files, lowered for the object's lifetime.
class ScopedOpenFileLimit {
 public:
  explicit ScopedOpenFileLimit(rlim_t soft) {
    getrlimit(RLIMIT_NOFILE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = soft;
    setrlimit(RLIMIT_NOFILE, &lowered);
  }
  ~ScopedOpenFileLimit() { setrlimit(RLIMIT_NOFILE, &previous_); }
  ScopedOpenFileLimit(const ScopedOpenFileLimit&) = delete;
  ScopedOpenFileLimit& operator=(const ScopedOpenFileLimit&) = delete;

 private:
  rlimit previous_{};
};

// The lowest limit of open files that leaves room for exactly this many more: descriptors
// are taken lowest first, and the ones already open need not be contiguous.
rlim_t LimitAllowing(rlim_t more) {
  int limit = 0;
  for (rlim_t free = 0; free < more; ++limit) {
    if (fcntl(limit, F_GETFD) == -1) ++free;
  }
  return static_cast<rlim_t>(limit);
}

// More files to hold than the process may open: the check phase stops at the first file
// it cannot hold, whether that is a hold or the reading of a game file to be patched, and
// nothing has been changed.
TEST_F(UpdaterTest, MoreHeldFilesThanOpenFilesAllowed) {
  constexpr int kDeleted = 24;
  std::string deleted;
  for (int i = 0; i < kDeleted; ++i) {
    WriteFile(Game(L"old/" + std::to_wstring(i) + L".dat"), "old");
    deleted += "<Patch SrcFile=\"old\\" + std::to_string(i) + ".dat\"/>";
  }
  std::string index = FullIndex();
  index.replace(index.find("<DeletedFiles>") + 14, 0, deleted);
  BuildPackage(index);
  const std::wstring patchedDelta = Unpacked() + L"/d/game.exe.delta";
  // Held before the first patched entry: two added files, the generated files and old.dll.
  constexpr rlim_t kHeldBeforePatches = 2 + kDeleted + 1;
  struct Case {
    rlim_t holdsAllowed;
    std::wstring refused;
  };
  const Case cases[] = {{10, Game(L"old/8.dat")},
                        {kHeldBeforePatches, Game(L"bin/game.exe")},
                        {kHeldBeforePatches + 1, patchedDelta}};
  const auto before = GameFiles(game_.Root());
  for (const Case& c : cases) {
    dialog_->reports.clear();
    const auto shown = static_cast<std::ptrdiff_t>(installer_.BoxTexts().size());
    {
      // One more for the run's own lock on the package.
      const ScopedOpenFileLimit limit(LimitAllowing(c.holdsAllowed + 1));
      CUpdater::Instance().run(game_.Patch());
    }
    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, Counted, Checking, FileStepFailed}));
    const auto boxes = installer_.BoxTexts();
    EXPECT_EQ(std::vector<std::wstring>(boxes.begin() + shown, boxes.end()),
              std::vector<std::wstring>{L"[Installing_FileFalid " + c.refused + L"] | (Error)"});
    EXPECT_EQ(GameFiles(game_.Root()), before);
  }
  EXPECT_TRUE(testing_support::OtherProcessCanOpenAndLock(Game(L"old.dll"))) << "held files are released";
}

}  // namespace
