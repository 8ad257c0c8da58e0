#include "config/launcher_config.h"

#include "engine/file_utils.h"
#include "engine/game_folders.h"
#include "platform/path.h"

LauncherConfig& LauncherConfig::Instance() {
  static LauncherConfig config;
  return config;
}

bool LoadLauncherConfig(LauncherConfig& config) {
  const std::wstring path = platform::JoinPath(ProfileFolder(), L"Launcher.cfg");
  const std::wstring backup = path + L".bak";
  // The back-up is the file as it was at the start of this run, taken before it is read.
  // A failed restore is caught by the existence test that follows.
  if (PathExists(path))
    CopyFileReplacing(path, backup);
  else if (PathExists(backup))
    CopyFileReplacing(backup, path);
  if (!PathExists(path)) return false;
  if (!ReadXmlTreeFile(path, config.tree)) return false;
  config.CurLauncherVersion = ValueAt(config.tree, L"Launcher.CurLauncherVersion");
  config.CurClientVersion = ValueAt(config.tree, L"Launcher.CurClientVersion");
  return true;
}

std::wstring CurrentClientVersion() { return LauncherConfig::Instance().CurClientVersion; }
