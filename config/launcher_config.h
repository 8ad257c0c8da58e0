#pragma once
// The launcher's configuration, profile/Launcher.cfg under the game root: the installed
// versions and the launcher's text set (under "Launcher.TextSet"). Read, never written.
#include <string>

#include "config/xml_tree_file.h"

struct LauncherConfig {
  // The process-wide configuration, created empty on first use; filled once at start-up.
  static LauncherConfig& Instance();

  TextTree tree;
  std::wstring CurLauncherVersion;  // "Launcher.CurLauncherVersion", verbatim
  std::wstring CurClientVersion;    // "Launcher.CurClientVersion", verbatim
};

// Reads Launcher.cfg into config, restoring it from the back-up Launcher.cfg.bak first when
// it is missing; a Launcher.cfg found and read refreshes the back-up. False when neither
// file exists or the file cannot be read as UTF-8 XML; config and the back-up are
// untouched then.
bool LoadLauncherConfig(LauncherConfig& config);

// The installed client version of the process-wide configuration.
std::wstring CurrentClientVersion();
