#include "engine/apply_steps.h"

#include <cstdint>

#include "config/text_sets.h"
#include "engine/check_steps.h"
#include "engine/file_utils.h"
#include "engine/system_error_text.h"
#include "engine/tool_runner.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr std::uint32_t kPauseStep = 1000;
constexpr std::uint32_t kCopyRetries = 10;    // pauses of 1 to 10 s
constexpr std::uint32_t kDeltaRuns = 10;      // pauses of 0 to 9 s between them

void ShowError(const std::wstring& text) { platform::Windows().MessageBox(text, LauncherText(L"Error"), nullptr); }

using FileReplacement = bool (*)(const std::wstring& source, const std::wstring& destination);

// Puts source over destination, retrying after pauses of 1, 2, ... 10 s. Shows the
// message with the system's text for the final attempt's error when every one failed.
bool ReplaceWithRetries(FileReplacement replace, const std::wstring& source, const std::wstring& destination) {
  for (std::uint32_t pauses = 0;; ++pauses) {
    if (replace(source, destination)) return true;
    const std::uint32_t error = platform::LastErrorCode();
    if (pauses == kCopyRetries) {
      ShowError(LauncherText(L"CopyFileFailed") + source + LauncherText(L"To") + destination +
                LauncherText(L"SystemReturn") + SystemErrorText(error));
      return false;
    }
    platform::System().Sleep((pauses + 1) * kPauseStep);
  }
}

std::wstring WorkingFolderText() { return LauncherText(L"WorkingDir") + platform::System().CurrentFolder(); }

// Runs the delta tool until the staging file appears, at most kDeltaRuns times.
bool RebuildWithRetries(const std::wstring& gameFile, const std::wstring& delta, const std::wstring& staging) {
  for (std::uint32_t run = 0; run < kDeltaRuns; ++run) {
    if (run > 0) platform::System().Sleep(run * kPauseStep);
    RunDeltaTool(gameFile, delta, staging);
    if (PathExists(staging)) return true;
  }
  ShowError(LauncherText(L"ToSource") + gameFile + LauncherText(L"ApplyPatch") + delta +
            LauncherText(L"ErrorOfPatchTarget") + staging + LauncherText(L"CannotGenerate") + WorkingFolderText());
  return false;
}

}  // namespace

bool ApplyAddedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry) {
  const std::wstring packageFile = PackageFilePath(folders, entry);
  const std::wstring gameFile = GameFilePath(folders, entry);
  held.ReleaseHeldFile(packageFile);
  CreateParentFolders(gameFile);
  return ReplaceWithRetries(CopyFileReplacing, packageFile, gameFile);
}

bool ApplyDeletedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry) {
  const std::wstring gameFile = GameFilePath(folders, entry);
  held.ReleaseHeldFile(gameFile);
  DeleteExistingFile(gameFile);
  return true;
}

bool ApplyPatchedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry) {
  const std::wstring gameFile = GameFilePath(folders, entry);
  const std::wstring delta = PackageFilePath(folders, entry);
  const std::wstring staging = StagingFilePath(folders, entry);
  held.ReleaseHeldFile(gameFile);
  held.ReleaseHeldFile(delta);
  // The game file was unprotected for a moment: make sure it is still the expected one.
  if (!VerifyPatchSource(held, gameFile, entry)) return false;
  if (!PathExists(delta)) {
    ShowError(LauncherText(L"PatchFiles") + delta + LauncherText(L"NoExist") + WorkingFolderText());
    return false;
  }
  CreateParentFolders(staging);
  // The staging file lies on the game's file system: moving it into place replaces the
  // game file as atomically as a copy would, without writing its bytes a second time.
  return RebuildWithRetries(gameFile, delta, staging) && ReplaceWithRetries(MoveFileReplacing, staging, gameFile);
}
