#pragma once
// The system's paths are wide strings. Folders are joined with the native separator;
// the '\' separators that data carries (package indexes) become native only when a
// path meets the file system, so exact comparisons on data stay on the data as written.
#include <string>

namespace platform {

#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

// folder + separator + name.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// path with the '\' separators of data turned into native ones, still wide: for paths
// that are shown, handed to another program or kept as names of files.
std::wstring WithNativeSeparators(const std::wstring& path);

// The narrow, native form of a path for a system call: UTF-8 with '\' turned into '/'.
std::string NativePath(const std::wstring& path);

}  // namespace platform
