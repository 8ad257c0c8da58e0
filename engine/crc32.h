#pragma once
// The system's CRC-32: the reflected 0xEDB88320 table, initial value 0xABCDEF12 and no
// final XOR. Every CRC in the manifests and package indexes is of this kind.
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::uint32_t kCrc32Initial = 0xABCDEF12u;

// Folds bytes into a running CRC (start with kCrc32Initial).
std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t length);

// CRC of the whole file; 0 when it cannot be opened for reading.
std::uint32_t FileCrc32(const std::wstring& path);
