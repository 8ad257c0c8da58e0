#pragma once
// Where the files of one index entry lie during an update.
#include <string>

#include "engine/patch_index.h"

struct UpdateFolders {
  std::wstring unpack;    // the package's top folder, as unpacked
  std::wstring gameRoot;
  std::wstring staging;   // where the delta tool writes rebuilt files
};

// The file an entry brings: the added file itself, or the delta of a patched one.
std::wstring PackageFilePath(const UpdateFolders& folders, const PatchEntry& entry);
std::wstring GameFilePath(const UpdateFolders& folders, const PatchEntry& entry);
std::wstring StagingFilePath(const UpdateFolders& folders, const PatchEntry& entry);
