#pragma once
// Owns the 7z command line that packs the staged package folder into its archive.
#include <string>

class PackageArchiver {
 public:
  // Throws PackError when 7z is neither beside the packer nor on PATH.
  explicit PackageArchiver(int compressionLevel);

  // Packs the folder topFolder of parentFolder, with everything in it, into a new 7z
  // archive. Throws PackError.
  void Pack(const std::wstring& parentFolder, const std::wstring& topFolder, const std::wstring& archive) const;

 private:
  std::wstring program_;
  int compressionLevel_;
};
