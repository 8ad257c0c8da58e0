#include "folder_listing.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "pack_error.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace {

// The index form of a relative path, or nothing when one of its names cannot be written.
std::optional<std::wstring> IndexPathOf(const fs::path& relative) {
  std::wstring indexPath;
  for (const fs::path& element : relative) {
    const std::optional<std::wstring> name = platform::FromUtf8(element.string());
    if (!name || name->find(L'\\') != std::wstring::npos) return std::nullopt;
    if (!indexPath.empty()) indexPath += L'\\';
    indexPath += *name;
  }
  return indexPath;
}

std::wstring Shown(const fs::path& relative) { return platform::FromUtf8Lossy(relative.string()); }

}  // namespace

FolderListing ListFolder(const std::wstring& root) {
  const fs::path rootPath(platform::NativePath(root));
  std::error_code error;
  if (!fs::is_directory(rootPath, error)) {
    throw PackError("\"" + rootPath.string() + "\" is not a folder");
  }
  FolderListing listing;
  fs::recursive_directory_iterator entries(rootPath, error);
  for (; !error && entries != fs::recursive_directory_iterator(); entries.increment(error)) {
    const fs::directory_entry& entry = *entries;
    const fs::path relative = entry.path().lexically_relative(rootPath);
    const std::optional<std::wstring> indexPath = IndexPathOf(relative);
    if (!indexPath) {
      listing.warnings.push_back(L"left out \"" + Shown(relative) +
                                 L"\": a patch index cannot name it (a '\\' or bytes that are not UTF-8)");
      if (entry.is_directory(error) && !entry.is_symlink(error)) entries.disable_recursion_pending();
      continue;
    }
    if (entry.is_symlink(error)) {
      listing.warnings.push_back(L"left out \"" + *indexPath + L"\": a symbolic link");
    } else if (entry.is_directory(error)) {
      listing.folders.insert(*indexPath);
    } else if (entry.is_regular_file(error)) {
      listing.files.emplace(*indexPath, entry.file_size(error));
    } else {
      listing.warnings.push_back(L"left out \"" + *indexPath + L"\": not a regular file");
    }
    if (error) break;
  }
  if (error) {
    throw PackError("cannot list \"" + rootPath.string() + "\": " + error.message());
  }
  return listing;
}
