#pragma once
// Writes the patch index a package carries in its top folder, in the form the installer
// reads: Root / Patches (TotalSize) / AddedFiles, DeletedFiles, PatchFiles, each holding
// Patch elements; paths with '\' separators, numbers in decimal.
#include <cstdint>
#include <string>
#include <vector>

struct PatchedFile {
  std::wstring patchFile;  // the delta, relative to the package's top folder
  std::wstring srcFile;    // the game file, relative to the game folder
  std::uint32_t srcSize = 0;
  std::uint32_t srcCrc = 0;
};

struct PackageIndex {
  std::uint32_t totalSize = 0;
  std::vector<std::wstring> addedFiles;
  std::vector<std::wstring> deletedFiles;
  std::vector<PatchedFile> patchFiles;
};

// UTF-8 with a declaration. Throws PackError when the file cannot be written.
void WritePackageIndex(const PackageIndex& index, const std::wstring& path);
