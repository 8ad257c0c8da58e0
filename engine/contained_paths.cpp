#include "engine/contained_paths.h"

#include <algorithm>
#include <boost/filesystem.hpp>
#include <functional>
#include <string>

#include "platform/path.h"

namespace fs = boost::filesystem;

namespace {

using LinkTest = std::function<bool(const fs::path& link)>;

// Walks from folder down the components of relative (an index path) and asks accepted
// about every symbolic link on the way; the walk ends where the path stops existing.
bool LinksOnTheWayAccepted(const fs::path& folder, const std::wstring& relative, const LinkTest& accepted) {
  fs::path current = folder;
  for (const fs::path& component : fs::path(platform::NativePath(relative))) {
    current /= component;
    boost::system::error_code error;
    const fs::file_status status = fs::symlink_status(current, error);
    if (!fs::exists(status)) return true;
    if (fs::is_symlink(status) && !accepted(current)) return false;
  }
  return true;
}

bool IsWithin(const fs::path& path, const fs::path& folder) {
  const std::string& text = path.string();
  const std::string prefix = folder.string() + "/";
  return text == folder.string() || text.compare(0, prefix.size(), prefix) == 0;
}

bool PackageFileIsLinkFree(const UpdateFolders& folders, const PatchEntry& entry) {
  const fs::path unpack(platform::NativePath(folders.unpack));
  boost::system::error_code error;
  if (fs::is_symlink(fs::symlink_status(unpack, error))) return false;
  const std::wstring& relative = entry.kind == Patched ? entry.PatchFile : entry.SrcFile;
  return LinksOnTheWayAccepted(unpack, relative, [](const fs::path&) { return false; });
}

// A link inside the game that leads elsewhere in the game is accepted; a dangling one is
// not, as a folder created through it would land wherever it points.
bool GameFileStaysInGame(const fs::path& gameRoot, const PatchEntry& entry) {
  return LinksOnTheWayAccepted(gameRoot, entry.SrcFile, [&](const fs::path& link) {
    boost::system::error_code error;
    const fs::path target = fs::canonical(link, error);
    return !error && IsWithin(target, gameRoot);
  });
}

}  // namespace

bool EntriesStayInside(const PatchIndex& index, const UpdateFolders& folders) {
  boost::system::error_code error;
  const fs::path gameRoot = fs::canonical(platform::NativePath(folders.gameRoot), error);
  if (error) return false;
  const auto inside = [&](const PatchEntry& entry) {
    return (entry.kind == Deleted || PackageFileIsLinkFree(folders, entry)) && GameFileStaysInGame(gameRoot, entry);
  };
  return std::all_of(index.AddedFiles.begin(), index.AddedFiles.end(), inside) &&
         std::all_of(index.DeletedFiles.begin(), index.DeletedFiles.end(), inside) &&
         std::all_of(index.PatchFiles.begin(), index.PatchFiles.end(), inside);
}
