#pragma once
// Runs one of the external programs the packer needs and tells how it ended, with what
// it wrote to its error stream, so a failure can be explained to the user.
#include <string>
#include <vector>

struct ToolOutcome {
  bool started = false;
  int exitCode = -1;
  std::string errorOutput;  // the program's standard error, UTF-8 as written

  bool Succeeded() const { return started && exitCode == 0; }
};

// Runs program with args in workingFolder, in a UTF-8 locale so that names outside ASCII
// pass through intact. errorLog is a scratch file for the program's error stream.
ToolOutcome RunTool(const std::wstring& program, const std::vector<std::wstring>& args,
                    const std::wstring& workingFolder, const std::wstring& errorLog);
