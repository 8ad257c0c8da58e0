#pragma once
// Every user-visible text is looked up by key when it is shown, in one of two sets:
// the installer's own (Quarnel.cfg) or the launcher's (Launcher.cfg). A missing key
// gives the empty string; lookups and formatting never fail.
#include <cstdint>
#include <string>

std::wstring QuarnelText(const std::wstring& key);
std::wstring LauncherText(const std::wstring& key);

// Boost.Format wide pattern with its values applied in order; empty on any format error.
std::wstring FormatText(const std::wstring& pattern, const std::wstring& value);
std::wstring FormatText(const std::wstring& pattern, std::uint32_t first, std::uint32_t second);
