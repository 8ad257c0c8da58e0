#include "tool_failure.h"

#include "platform/path.h"
#include "platform/text_encoding.h"

std::wstring NativeArgument(const std::wstring& path) { return platform::FromUtf8Lossy(platform::NativePath(path)); }

std::string ToolFailure(const std::optional<int>& exitCode) {
  if (!exitCode) return "it could not be started";
  if (*exitCode < 0) return "it was ended by a signal";
  return "exit code " + std::to_string(*exitCode);
}
