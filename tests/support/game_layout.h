#pragma once
// A complete game folder in a temporary folder, laid out so that start-up passes and
// reaches the dialog: the game root with "Launcher.exe" and "qvtr.exe", profile/Launcher.cfg,
// and beside the installer (in updates/ unless told otherwise) the program file "quarnel",
// Quarnel.cfg, index.xml and a package that matches the manifest. Tests change only what
// their case needs.
//
// Every text of both sets is present. An installer text is its key in square brackets and
// a launcher text its key in round ones, with the directives the key takes: "[Error]",
// "(Error)", "[NotMatch %1%]", "[Installing_Check %1%/%2%]".
#include <cstdint>
#include <ostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/patch_info.h"
#include "platform/system.h"
#include "support/temp_folder.h"

namespace testing_support {

struct GameLayoutSettings {
  std::wstring rootName = L"Game";
  // Folder of the installer relative to the root, '/'-separated.
  std::wstring installerFolder = L"updates";
  std::wstring launcherVersion = L"1.0.0.1";
  std::wstring clientVersion = L"1.0.0.7";
  std::wstring targetVersion = L"1.0.0.8";
};

class GameLayout {
 public:
  explicit GameLayout(GameLayoutSettings settings = {});

  const std::wstring& Root() const { return root_; }
  std::wstring UpdatesFolder() const;
  std::wstring ProfileFolder() const;
  std::wstring InstallerFolder() const;
  std::wstring InstallerPath() const;
  std::wstring QuarnelConfigPath() const;
  std::wstring ManifestPath() const;
  std::wstring LauncherConfigPath() const;
  std::wstring PackagePath() const;

  // The manifest's client patch from the installed version to the target version.
  const PatchInfo& Patch() const { return patch_; }
  const std::string& PackageBytes() const { return package_; }

  // Writes the package beside the installer and rewrites the manifest with its length and CRC.
  void WritePackage(const std::string& bytes);
  // Rewrites the manifest with these client patches (the layout's own patch is dropped).
  void WriteClientPatches(const std::vector<PatchInfo>& patches);

  void SetQuarnelText(const std::wstring& key, const std::wstring& text);
  void RemoveQuarnelText(const std::wstring& key);
  void SetLauncherText(const std::wstring& key, const std::wstring& text);
  void SetClientVersion(const std::wstring& version);

 private:
  using Texts = std::vector<std::pair<std::wstring, std::wstring>>;

  void WriteQuarnelConfig() const;
  void WriteLauncherConfig() const;

  TempFolder temp_;
  GameLayoutSettings settings_;
  std::wstring root_;
  Texts quarnelTexts_;
  Texts launcherTexts_;
  PatchInfo patch_;
  std::string package_;
};

// The process as if it ran as the layout's installer, while the object lives: the
// executable path points into the layout and the free space is the figure the test sets
// (nothing: the system cannot tell). Every other service stays real. The current folder
// is put back at the end.
class InstallerProcess : public platform::SystemServices {
 public:
  explicit InstallerProcess(const GameLayout& game);
  ~InstallerProcess() override;

  std::wstring ExecutablePath() override;
  std::optional<std::uint64_t> FreeBytesAvailable(const std::wstring& path) override;

  std::optional<std::uint64_t> freeBytes = std::uint64_t{4} << 30;

 private:
  std::wstring executable_;
  std::wstring previousFolder_;
  platform::ScopedSystemServices scope_;
};

}  // namespace testing_support

// Lets test failures show a patch readably.
void PrintTo(const PatchInfo& patch, std::ostream* out);
