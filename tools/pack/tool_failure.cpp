#include "tool_failure.h"

std::string ToolFailure(const std::optional<int>& exitCode) {
  if (!exitCode) return "it could not be started";
  if (*exitCode < 0) return "it was ended by a signal";
  return "exit code " + std::to_string(*exitCode);
}
