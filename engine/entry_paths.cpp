#include "engine/entry_paths.h"

#include "platform/path.h"

// Index paths use '\\'; they take the native form when joined to a folder, so every
// path the update shows, holds or hands to a tool is in one form.

std::wstring PackageFilePath(const UpdateFolders& folders, const PatchEntry& entry) {
  return platform::JoinPath(folders.unpack, platform::WithNativeSeparators(entry.kind == Patched ? entry.PatchFile : entry.SrcFile));
}

std::wstring GameFilePath(const UpdateFolders& folders, const PatchEntry& entry) {
  return platform::JoinPath(folders.gameRoot, platform::WithNativeSeparators(entry.SrcFile));
}

std::wstring StagingFilePath(const UpdateFolders& folders, const PatchEntry& entry) {
  return platform::JoinPath(folders.staging, platform::WithNativeSeparators(entry.SrcFile));
}
