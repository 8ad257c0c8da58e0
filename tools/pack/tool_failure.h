#pragma once
// Helpers for running the external programs.
#include <optional>
#include <string>

// A path as a program's argument: the '\' separators of index paths made native.
std::wstring NativeArgument(const std::wstring& path);

// "exit code 2", "not started", ...: how a run that did not succeed ended.
std::string ToolFailure(const std::optional<int>& exitCode);
