#pragma once
// Wide texts inside, UTF-8 at every boundary with the outside world.
#include <optional>
#include <string>

namespace platform {

// Characters that cannot be encoded (lone surrogates, values past U+10FFFF) become U+FFFD.
std::string ToUtf8(const std::wstring& text);

// Strict: nothing when the bytes are not valid UTF-8, so no text is ever silently mangled.
std::optional<std::wstring> FromUtf8(const std::string& bytes);

// Lenient: invalid sequences become U+FFFD. For names read from the file system and
// for system texts, which are only shown.
std::wstring FromUtf8Lossy(const std::string& bytes);

}  // namespace platform
