#pragma once
// The installer's own folder and the game folder found above it.
#include <cstdint>
#include <optional>
#include <string>

// Folder of the running executable, without a trailing separator.
std::wstring ProgramFolder();

// MiB available to the user on the file system holding the installer; 0xFFFFFFFF when
// the system cannot tell, so that an unknown figure never refuses an install.
std::uint32_t FreeSpaceMiB();

// First entry of folder that is not a folder and whose name equals name exactly.
std::optional<std::wstring> FindFileInFolder(const std::wstring& name, const std::wstring& folder);

// Walks up from startPath to the nearest folder named folderName; its parent is the game
// root when it holds the files "Launcher.exe" and "qvtr.exe". Sets GameRoot (empty when
// none) and answers whether one was found.
bool LocateGameRoot(const std::wstring& folderName, const std::wstring& startPath);

std::wstring GameRootFolder();
std::wstring ProfileFolder();
std::wstring UpdatesFolder();
std::wstring InstallerFolder();
