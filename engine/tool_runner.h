#pragma once
// The two external programs of an update: 7-Zip unpacks the package, xdelta3 rebuilds a
// file from a delta. Each runs in the game folder with no window, and the caller waits
// until it ends.
#include <string>

enum class ToolResult {
  NotStarted,  // the program is missing or cannot be started
  Failed,      // it ran and reported a failure
  Succeeded,
};

// Unpacks the whole archive with its folders into outputFolder, replacing existing files.
// Failed only for 7-Zip's fatal errors (exit code 2 and above), not for its warnings.
ToolResult RunArchiver(const std::wstring& packagePath, const std::wstring& outputFolder);

// Decodes delta against source into output. The output exists afterwards only when the
// decode succeeded: xdelta3 leaves a partial output behind when it fails part-way (a
// mismatching window, a full disk), which is removed here.
ToolResult RunDeltaTool(const std::wstring& sourcePath, const std::wstring& deltaPath, const std::wstring& outputPath);
