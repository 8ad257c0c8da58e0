#include "engine/game_folders.h"

#include <boost/filesystem.hpp>
#include <limits>

#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace fs = boost::filesystem;

namespace {

// Set once at start-up, before any other thread exists; only read afterwards.
std::wstring gameRoot;

}  // namespace

std::wstring ProgramFolder() {
  const std::wstring executable = platform::System().ExecutablePath();
  const std::size_t separator = executable.rfind(platform::kPathSeparator);
  return separator == std::wstring::npos ? executable : executable.substr(0, separator);
}

std::uint32_t FreeSpaceMiB() {
  const auto bytes = platform::System().FreeBytesAvailable(ProgramFolder());
  if (!bytes) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(*bytes >> 20);
}

std::optional<std::wstring> FindFileInFolder(const std::wstring& name, const std::wstring& folder) {
  const fs::path nativeFolder(platform::NativePath(folder));
  const fs::path nativeName(platform::ToUtf8(name));
  boost::system::error_code error;
  if (!fs::is_directory(fs::status(nativeFolder, error))) return std::nullopt;
  for (fs::directory_iterator entry(nativeFolder, error), end; !error && entry != end; entry.increment(error)) {
    boost::system::error_code statusError;
    if (fs::is_directory(entry->status(statusError))) continue;
    if (entry->path().filename() == nativeName) return platform::JoinPath(folder, name);
  }
  return std::nullopt;
}

bool LocateGameRoot(const std::wstring& folderName, const std::wstring& startPath) {
  gameRoot.clear();
  fs::path candidate(platform::NativePath(startPath));
  if (!folderName.empty()) {
    const fs::path wanted(platform::ToUtf8(folderName));
    for (;;) {
      if (!candidate.has_parent_path()) return false;
      const bool matches = candidate.filename() == wanted;
      candidate = candidate.parent_path();
      if (matches) break;
    }
  }
  const std::wstring root = platform::FromUtf8Lossy(candidate.string());
  if (FindFileInFolder(L"Launcher.exe", root) && FindFileInFolder(L"qvtr.exe", root)) gameRoot = root;
  return !gameRoot.empty();
}

std::wstring GameRootFolder() { return gameRoot; }
std::wstring ProfileFolder() { return platform::JoinPath(gameRoot, L"profile"); }
std::wstring UpdatesFolder() { return platform::JoinPath(gameRoot, L"updates"); }
std::wstring InstallerFolder() { return platform::JoinPath(UpdatesFolder(), L"installer"); }
