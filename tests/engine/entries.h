#pragma once
// Index entries and their files for the engine's tests.
#include <string>

#include "engine/crc32.h"
#include "engine/patch_index.h"

namespace engine_testing {

inline std::uint32_t Crc(const std::string& bytes) { return Crc32Update(kCrc32Initial, bytes.data(), bytes.size()); }

inline PatchEntry AddedEntry(const std::wstring& srcFile) { return {srcFile, L"", Added, 0, 0}; }

inline PatchEntry DeletedEntry(const std::wstring& srcFile) { return {srcFile, L"", Deleted, 0, 0}; }

// A patched entry expecting the game file to hold source.
inline PatchEntry PatchedEntry(const std::wstring& srcFile, const std::wstring& delta, const std::string& source) {
  return {srcFile, delta, Patched, static_cast<std::uint32_t>(source.size()), Crc(source)};
}

}  // namespace engine_testing
