#pragma once
// File helpers that the rest of the system calls by name. None throws on an ordinary
// failure; each answers through its result.
#include <cstdint>
#include <string>

// Something (file or folder) exists at path; nothing is opened.
bool PathExists(const std::wstring& path);
bool IsFolder(const std::wstring& path);

// Length in bytes; 0 when the file cannot be opened for reading (a folder cannot).
// The true 64-bit length, so a file of 4 GiB or more never equals a 32-bit expectation.
std::int64_t FileLength(const std::wstring& path);

// True when length and the expected 32-bit length describe the same size.
bool LengthMatches(std::int64_t length, std::uint32_t expected);

// Missing, other length, or other CRC; the CRC is read only when the length agrees.
bool FileDiffers(const std::wstring& path, std::uint32_t expectedLength, std::uint32_t expectedCrc);

// Replaces destination with a complete copy, or leaves it untouched. On false the
// error code is kept for platform::LastErrorCode.
bool CopyFileReplacing(const std::wstring& source, const std::wstring& destination);
// The same by moving source into place: no copy when both lie on one file system. On
// false source stays and the error code is kept for platform::LastErrorCode.
bool MoveFileReplacing(const std::wstring& source, const std::wstring& destination);

// False when nothing exists at path; else whether the file was deleted. Never a folder.
bool DeleteExistingFile(const std::wstring& path);

// False when path is not a folder; else whether it and all beneath it were deleted.
bool DeleteFolderTree(const std::wstring& path);

// Creates every folder on the way to the path's last component, which is not created.
void CreateParentFolders(const std::wstring& path);
