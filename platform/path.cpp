#include "platform/path.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace platform {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  return folder + kPathSeparator + name;
}

std::wstring WithNativeSeparators(const std::wstring& path) {
  std::wstring native = path;
  std::replace(native.begin(), native.end(), L'\\', kPathSeparator);
  return native;
}

std::string NativePath(const std::wstring& path) { return ToUtf8(WithNativeSeparators(path)); }

}  // namespace platform
