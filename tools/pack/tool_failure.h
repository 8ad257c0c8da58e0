#pragma once
// Helpers for running the external programs.
#include <optional>
#include <string>

// "exit code 2", "not started", ...: how a run that did not succeed ended.
std::string ToolFailure(const std::optional<int>& exitCode);
