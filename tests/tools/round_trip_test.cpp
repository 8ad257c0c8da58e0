// From publisher to player: the sample generator and quarnel-pack make the package
// between two versions of a game, the installer's worker applies it to a game folder at
// the old version, and the folder then holds the new version byte for byte. Only the
// player's server list keeps its content, by design.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "config/launcher_config.h"
#include "config/launcher_manifest.h"
#include "config/quarnel_config.h"
#include "engine/crc32.h"
#include "engine/file_utils.h"
#include "engine/game_folders.h"
#include "engine/updater.h"
#include "platform/headless/headless_window_system.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;

// The process as if it were the installer copied into the sample game's updates folder.
class SampleInstaller : public platform::SystemServices {
 public:
  explicit SampleInstaller(std::wstring updatesFolder)
      : executable_(platform::JoinPath(updatesFolder, L"quarnel")), scope_(*this) {}
  std::wstring ExecutablePath() override { return executable_; }

 private:
  std::wstring executable_;
  platform::ScopedSystemServices scope_;
};

// Every file below root by its '/'-separated relative path, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::wstring& root) {
  std::map<std::string, std::string> files;
  const fs::path rootPath(platform::NativePath(root));
  for (const auto& entry : fs::recursive_directory_iterator(rootPath)) {
    if (!entry.is_regular_file()) continue;
    files[entry.path().lexically_relative(rootPath).string()] =
        ReadFile(platform::FromUtf8Lossy(entry.path().string()));
  }
  return files;
}

std::wstring FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? platform::FromUtf8Lossy(value) : std::wstring();
}

TEST(RoundTripTest, InstallingThePackageTurnsTheOldVersionIntoTheNewOne) {
  const std::wstring buildFolder = FromEnvironment("QUARNEL_BUILD_DIR");
  ASSERT_FALSE(buildFolder.empty()) << "run through ctest";
  testing_support::TempFolder temp;
  const std::wstring sample = temp / L"sample";
  ASSERT_EQ(platform::System().RunProgram(
                platform::FindProgram(L"bash"),
                {platform::FromUtf8Lossy(QUARNEL_SOURCE_DIR "/tools/make-sample.sh"), L"--server-list-change", L"--pack",
                 platform::JoinPath(buildFolder, L"tools/quarnel-pack"), sample},
                temp.Path()),
            0);
  const std::wstring oldVersion = temp / L"sample\\versions\\1.0.0.7";
  const std::wstring newVersion = temp / L"sample\\versions\\1.0.0.8";
  const std::wstring game = temp / L"sample\\game";

  // The installer's start-up, as far as the worker needs it.
  SampleInstaller installer(platform::JoinPath(game, L"updates"));
  platform::ScopedHeadlessWindows windows;
  ASSERT_TRUE(LoadQuarnelConfig(QuarnelConfig()));
  ASSERT_TRUE(LocateGameRoot(L"updates", ProgramFolder()));
  ASSERT_TRUE(LoadManifest(platform::JoinPath(ProgramFolder(), L"index.xml")));
  ASSERT_TRUE(LoadLauncherConfig(LauncherConfig::Instance()));
  const PatchInfo patch = FindClientPatch(CurrentClientVersion());
  ASSERT_EQ(PackageFileName(patch), L"1.0.0.7-1.0.0.8.7z");
  const std::wstring package = platform::JoinPath(ProgramFolder(), PackageFileName(patch));
  EXPECT_EQ(FileLength(package), patch.Size);
  EXPECT_EQ(FileCrc32(package), patch.Crc);

  CUpdater::Instance().run(patch);

  EXPECT_EQ(CUpdater::Instance().state, Succeeded);
  EXPECT_TRUE(windows->Boxes().empty()) << platform::ToUtf8(windows->Boxes().front().text);
  std::map<std::string, std::string> installed = FilesBelow(game);
  std::erase_if(installed, [](const auto& file) { return file.first.starts_with("updates/"); });
  // The installer backs the launcher configuration up before it reads it.
  ASSERT_TRUE(installed.contains("profile/Launcher.cfg.bak"));
  EXPECT_EQ(installed.extract("profile/Launcher.cfg.bak").mapped(), ReadFile(oldVersion + L"/profile/Launcher.cfg"));
  std::map<std::string, std::string> expected = FilesBelow(newVersion);
  ASSERT_NE(expected["profile/ServerList.ini"], ReadFile(oldVersion + L"/profile/ServerList.ini"));
  expected["profile/ServerList.ini"] = ReadFile(oldVersion + L"/profile/ServerList.ini");
  EXPECT_EQ(installed, expected);
}

}  // namespace
