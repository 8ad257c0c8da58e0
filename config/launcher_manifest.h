#pragma once
// The launcher manifest index.xml: the patches of the launcher and of the client, in
// document order.
#include <string>
#include <vector>

#include "config/patch_info.h"

struct LauncherManifest {
  // The process-wide manifest, created with two empty lists on first use.
  static LauncherManifest& Instance();

  std::vector<PatchInfo> launcherPatches;  // versions only; nothing reads them
  std::vector<PatchInfo> clientPatches;
};

// Empties the process-wide manifest, then reads the file into it. False when the file
// cannot be read or parsed, or lacks "root", "root/launcher" or "root/client". Any
// encoding the XML reader detects (UTF-8, or UTF-16/32 by byte-order mark) is read.
bool LoadManifest(const std::wstring& path);

// A copy of the first client patch that starts from exactly version; empty when none.
PatchInfo FindClientPatch(const std::wstring& version);
