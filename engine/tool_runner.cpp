#include "engine/tool_runner.h"

#include <optional>
#include <vector>

#include "engine/file_utils.h"
#include "engine/game_folders.h"
#include "platform/path.h"
#include "platform/system.h"

namespace {

constexpr int kArchiverFirstFatalExit = 2;

std::optional<int> RunTool(const std::wstring& name, const std::vector<std::wstring>& args) {
  const std::wstring program = platform::FindProgram(name);
  if (program.empty()) return std::nullopt;
  return platform::System().RunProgram(program, args, GameRootFolder());
}

}  // namespace

ToolResult RunArchiver(const std::wstring& packagePath, const std::wstring& outputFolder) {
  const auto exitCode = RunTool(L"7z", {L"x", platform::WithNativeSeparators(packagePath), L"-o" + platform::WithNativeSeparators(outputFolder), L"-aoa"});
  if (!exitCode) return ToolResult::NotStarted;
  return *exitCode >= 0 && *exitCode < kArchiverFirstFatalExit ? ToolResult::Succeeded : ToolResult::Failed;
}

ToolResult RunDeltaTool(const std::wstring& sourcePath, const std::wstring& deltaPath, const std::wstring& outputPath) {
  // -D: game files that happen to be gzip, bzip2 or xz data are decoded as they are,
  // never piped through external decompressors (which would make the decode fail).
  const auto exitCode = RunTool(
      L"xdelta3", {L"-d", L"-D", L"-s", platform::WithNativeSeparators(sourcePath), platform::WithNativeSeparators(deltaPath), platform::WithNativeSeparators(outputPath)});
  if (!exitCode) return ToolResult::NotStarted;
  if (*exitCode == 0) return ToolResult::Succeeded;
  DeleteExistingFile(outputPath);
  return ToolResult::Failed;
}
