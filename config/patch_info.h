#pragma once
// One patch: the version it starts from, the version it leads to, and the length and
// CRC-32 of its package. Versions are opaque and compared exactly.
#include <cstdint>
#include <string>

struct PatchInfo {
  std::wstring srcVersion;
  std::wstring destVersion;
  std::uint32_t Size = 0;
  std::uint32_t Crc = 0;

  bool operator==(const PatchInfo&) const = default;
};

bool IsComplete(const PatchInfo& patch);

// srcVersion + "-" + destVersion; empty for an incomplete record.
std::wstring PackageBaseName(const PatchInfo& patch);
// PackageBaseName + ".7z"; empty for an incomplete record.
std::wstring PackageFileName(const PatchInfo& patch);
// "Patch_" + PackageBaseName + ".exe": the name the player downloads; only ever shown.
// Empty for an incomplete record.
std::wstring PackageDownloadName(const PatchInfo& patch);
