#pragma once
// Paths as a patch index writes them: relative, with '\' separators.
#include <string>

// The installer never patches the player's server list.
inline constexpr wchar_t kServerListPath[] = L"profile\\ServerList.ini";

// "data" for "data\maps\a.bin"; the path itself when it has no folder.
std::wstring TopElement(const std::wstring& indexPath);

// Letter case folded, for comparisons that a case-blind file system would make.
std::wstring CaseFolded(std::wstring text);
