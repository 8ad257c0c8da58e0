#include "engine/entry_paths.h"

#include "platform/path.h"

std::wstring PackageFilePath(const UpdateFolders& folders, const PatchEntry& entry) {
  return platform::JoinPath(folders.unpack, entry.kind == Patched ? entry.PatchFile : entry.SrcFile);
}

std::wstring GameFilePath(const UpdateFolders& folders, const PatchEntry& entry) {
  return platform::JoinPath(folders.gameRoot, entry.SrcFile);
}

std::wstring StagingFilePath(const UpdateFolders& folders, const PatchEntry& entry) {
  return platform::JoinPath(folders.staging, entry.SrcFile);
}
