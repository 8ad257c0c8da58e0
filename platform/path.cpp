#include "platform/path.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace platform {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  return folder + kPathSeparator + name;
}

std::string NativePath(const std::wstring& path) {
  std::string native = ToUtf8(path);
#ifndef _WIN32
  std::replace(native.begin(), native.end(), '\\', '/');
#endif
  return native;
}

}  // namespace platform
