#include "config/patch_info.h"

bool IsComplete(const PatchInfo& patch) {
  return !patch.srcVersion.empty() && !patch.destVersion.empty() && patch.Size != 0 &&
         patch.Crc != 0;
}

std::wstring PackageBaseName(const PatchInfo& patch) {
  if (!IsComplete(patch)) return {};
  return patch.srcVersion + L"-" + patch.destVersion;
}

std::wstring PackageFileName(const PatchInfo& patch) {
  if (!IsComplete(patch)) return {};
  return PackageBaseName(patch) + L".7z";
}

std::wstring PackageDownloadName(const PatchInfo& patch) {
  if (!IsComplete(patch)) return {};
  return L"Patch_" + PackageBaseName(patch) + L".exe";
}
