#pragma once
// Reading game files for the package: unlike the installer's helpers, every open or
// read failure is an error, so a damaged disk never yields a wrong CRC in an index.
#include <cstdint>
#include <string>

// CRC-32 of the system (see engine/crc32.h) of a whole file. Throws PackError.
std::uint32_t CheckedFileCrc32(const std::wstring& path);

struct ContentComparison {
  bool identical = false;
  std::uint32_t oldCrc = 0;  // the old file's CRC, needed to patch it
};

// Reads the old file whole and the new one only as far as the first difference.
// Throws PackError.
ContentComparison CompareContent(const std::wstring& oldPath, const std::wstring& newPath);
