#pragma once
// What separates two listings of a game folder, before any content is read.
#include <string>
#include <vector>

#include "folder_listing.h"

struct TreeChanges {
  std::vector<std::wstring> added;    // only in the new version
  std::vector<std::wstring> deleted;  // only in the old version
  std::vector<std::wstring> common;   // in both: their contents decide
  std::vector<std::wstring> warnings;
};

// Throws PackError when a path is a file in one version and a folder in the other: the
// installer adds files before it deletes any, so one package cannot make that change.
TreeChanges CompareListings(const FolderListing& oldListing, const FolderListing& newListing);
