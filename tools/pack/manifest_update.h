#pragma once
// Records a client patch in the launcher manifest index.xml: the entry from the same
// version to the same version gets the package's Size and Crc, or a new entry is
// appended; every other entry and the launcher element stay. A missing manifest is
// created. The new manifest is written beside the old one and only replaces it on
// Commit, so a failed run leaves the manifest as it was.
#include <string>
#include <vector>

#include "config/patch_info.h"

class ManifestUpdate {
 public:
  // Throws PackError when the manifest exists but is not a launcher manifest, or when
  // the new one cannot be written.
  ManifestUpdate(const std::wstring& manifestPath, const PatchInfo& patch);
  ~ManifestUpdate();
  ManifestUpdate(const ManifestUpdate&) = delete;
  ManifestUpdate& operator=(const ManifestUpdate&) = delete;

  const std::vector<std::wstring>& Warnings() const { return warnings_; }

  // Throws PackError when the manifest cannot be replaced.
  void Commit();

 private:
  std::string manifestPath_;
  std::string pendingPath_;
  bool committed_ = false;
  std::vector<std::wstring> warnings_;
};
