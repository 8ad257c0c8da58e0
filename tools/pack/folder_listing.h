#pragma once
// The regular files below a game folder, named as a patch index names them: relative
// paths with '\' separators.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct FolderListing {
  std::map<std::wstring, std::uint64_t> files;  // index path -> length in bytes
  std::set<std::wstring> folders;               // index paths of every folder
  std::vector<std::wstring> warnings;           // entries left out, and why
};

// Throws PackError when root is not a readable folder. Entries that an index cannot
// name (a '\' in a name, a name that is not UTF-8) and entries that are not regular
// files are left out with a warning.
FolderListing ListFolder(const std::wstring& root);
