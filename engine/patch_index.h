#pragma once
// The index a patch package carries: the files to add, to delete, and to rebuild from a
// delta (with the length and CRC-32 each must have before it is rebuilt).
#include <cstdint>
#include <string>
#include <vector>

enum EntryKind : std::uint32_t {
  Added = 0,
  Deleted = 1,
  Patched = 2,
};

struct PatchEntry {
  std::wstring SrcFile;
  std::wstring PatchFile;  // the delta; patched entries only
  EntryKind kind = Added;
  std::uint32_t SrcSize = 0;
  std::uint32_t SrcCrc = 0;
};

struct PatchIndex {
  std::uint32_t TotalSize = 0;
  std::vector<PatchEntry> AddedFiles;
  std::vector<PatchEntry> DeletedFiles;
  std::vector<PatchEntry> PatchFiles;
};

// Reads the index file at path into index. The launcher configuration is moved to the
// end of PatchFiles and the server list dropped from it. False when the file cannot be
// read, lacks a required element, or names a path that would leave the game folder
// (empty, absolute, or with a ".." component); index may then hold part of the entries.
bool ParsePatchIndex(PatchIndex& index, const std::wstring& path);

// A relative path that stays inside the folder it is joined to.
bool IsContainedRelativePath(const std::wstring& path);
