#pragma once
// Builds the package that updates a game folder from one version to the next: the
// archive <from>-<to>.7z in the output folder and the client patch in the manifest.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "config/patch_info.h"

struct PackRequest {
  std::wstring oldFolder;     // the game folder as players have it
  std::wstring newFolder;     // the game folder after the update
  std::wstring fromVersion;
  std::wstring toVersion;
  std::wstring outputFolder;  // receives the archive; created when missing
  std::wstring manifestPath;  // index.xml to create or update
  unsigned jobs = 1;          // files compared and deltas made at the same time
  int compressionLevel = 5;   // 7z -mx
  std::uint64_t sourceWindowLimit = std::uint64_t{1} << 30;  // xdelta3 -B at most
  bool showProgress = false;
};

struct PackSummary {
  std::wstring packagePath;
  PatchInfo patch;
  std::size_t addedCount = 0;
  std::size_t deletedCount = 0;
  std::size_t patchedCount = 0;
};

using WarningSink = std::function<void(const std::wstring&)>;

// Throws PackError, leaving the output folder and the manifest as they were. Paths in
// the request are absolute.
PackSummary BuildPackage(const PackRequest& request, const WarningSink& warn);
