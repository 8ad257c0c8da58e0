#include "config/launcher_config.h"

#include "engine/file_utils.h"
#include "engine/game_folders.h"
#include "platform/path.h"

namespace {

std::wstring ValueAt(const TextTree& tree, const wchar_t* path) {
  const auto node = tree.get_child_optional(path);
  return node ? node->data() : std::wstring();
}

// The back-up is taken before the file is parsed, so it is the file as found at start.
// A failed copy is caught by the existence test that follows.
bool BackUpOrRestore(const std::wstring& config, const std::wstring& backup) {
  if (PathExists(config)) {
    CopyFileReplacing(config, backup);
  } else if (PathExists(backup)) {
    CopyFileReplacing(backup, config);
  } else {
    return false;
  }
  return PathExists(config);
}

}  // namespace

LauncherConfig& LauncherConfig::Instance() {
  static LauncherConfig config;
  return config;
}

bool LoadLauncherConfig(LauncherConfig& config) {
  const std::wstring path = platform::JoinPath(ProfileFolder(), L"Launcher.cfg");
  if (!BackUpOrRestore(path, path + L".bak")) return false;
  if (!ReadXmlTreeFile(path, config.tree)) return false;
  config.CurLauncherVersion = ValueAt(config.tree, L"Launcher.CurLauncherVersion");
  config.CurClientVersion = ValueAt(config.tree, L"Launcher.CurClientVersion");
  return true;
}

std::wstring CurrentClientVersion() { return LauncherConfig::Instance().CurClientVersion; }
