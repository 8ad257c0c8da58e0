#include "tree_changes.h"

#include <map>

#include "index_paths.h"
#include "pack_error.h"
#include "platform/text_encoding.h"

namespace {

// Every folder on the way to path: "a", "a\b" for "a\b\c".
std::vector<std::wstring> ParentFolders(const std::wstring& path) {
  std::vector<std::wstring> parents;
  for (std::size_t separator = path.find(L'\\'); separator != std::wstring::npos;
       separator = path.find(L'\\', separator + 1)) {
    parents.push_back(path.substr(0, separator));
  }
  return parents;
}

void RefuseFolderTurnedFile(const std::wstring& added, const FolderListing& oldListing) {
  const auto fail = [](const std::wstring& path) {
    throw PackError(platform::ToUtf8(
        L"\"" + path + L"\" is a file in one version and a folder in the other; the installer "
        L"adds files before it deletes any, so one package cannot make this change"));
  };
  if (oldListing.folders.contains(added)) fail(added);
  for (const std::wstring& parent : ParentFolders(added)) {
    if (oldListing.files.contains(parent)) fail(parent);
  }
}

// On a file system that ignores letter case, deleting "A.txt" after adding "a.txt"
// removes the file just added.
std::vector<std::wstring> CaseOnlyRenames(const std::vector<std::wstring>& added,
                                          const std::vector<std::wstring>& deleted) {
  std::map<std::wstring, std::wstring> deletedByFoldedPath;
  for (const std::wstring& path : deleted) deletedByFoldedPath.emplace(CaseFolded(path), path);
  std::vector<std::wstring> warnings;
  for (const std::wstring& path : added) {
    const auto match = deletedByFoldedPath.find(CaseFolded(path));
    if (match == deletedByFoldedPath.end()) continue;
    warnings.push_back(L"\"" + match->second + L"\" is renamed to \"" + path +
                       L"\" by letter case only; on a file system that ignores case the "
                       L"installer deletes the added file");
  }
  return warnings;
}

}  // namespace

TreeChanges CompareListings(const FolderListing& oldListing, const FolderListing& newListing) {
  TreeChanges changes;
  for (const auto& [path, size] : newListing.files) {
    if (oldListing.files.contains(path)) {
      changes.common.push_back(path);
    } else {
      RefuseFolderTurnedFile(path, oldListing);
      changes.added.push_back(path);
    }
  }
  for (const auto& [path, size] : oldListing.files) {
    if (!newListing.files.contains(path)) changes.deleted.push_back(path);
  }
  changes.warnings = CaseOnlyRenames(changes.added, changes.deleted);
  return changes;
}
