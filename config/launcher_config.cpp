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
  const bool found = PathExists(path);
  // A failed restore is caught by the existence test that follows.
  if (!found && PathExists(backup)) CopyFileReplacing(backup, path);
  if (!PathExists(path)) return false;
  if (!ReadXmlTreeFile(path, config.tree)) return false;
  // Only a configuration that reads replaces the back-up: a damaged file must never
  // destroy the last good copy.
  if (found) CopyFileReplacing(path, backup);
  config.CurLauncherVersion = ValueAt(config.tree, L"Launcher.CurLauncherVersion");
  config.CurClientVersion = ValueAt(config.tree, L"Launcher.CurClientVersion");
  return true;
}

std::wstring CurrentClientVersion() { return LauncherConfig::Instance().CurClientVersion; }
