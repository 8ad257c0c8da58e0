#include "app/pre_install_checks.h"

#include <string>

#include "app/quarnel_app.h"
#include "config/launcher_config.h"
#include "config/launcher_manifest.h"
#include "config/text_sets.h"
#include "engine/file_utils.h"
#include "engine/game_folders.h"
#include "platform/background_task.h"
#include "platform/path.h"
#include "platform/window.h"

namespace {

constexpr std::uint32_t kRequiredFreeMiB = 1024;

// Missing, of another length or of another CRC; the CRC is read only after the length
// matched. An incomplete patch names no package and never passes, so the dialog never
// opens on a patch the worker would refuse.
bool PackageMatches(const PatchInfo& patch) {
  if (!IsComplete(patch)) return false;
  const std::wstring package = platform::JoinPath(ProgramFolder(), PackageFileName(patch));
  // Reading the whole package and starting the window toolkit are the slow parts of
  // start-up: they run side by side. Every outcome needs the toolkit next, for the
  // dialog or for the message.
  auto differs =
      platform::StartInBackground([&] { return FileDiffers(package, patch.Size, patch.Crc); });
  platform::Windows().StartToolkit();
  return !differs.get();
}

}  // namespace

int CheckBeforeInstall(CQuarnelApp& app) {
  if (FreeSpaceMiB() < kRequiredFreeMiB) {
    platform::Windows().MessageBox(LauncherText(L"NeedDiskSpaceMore"), LauncherText(L"Note"),
                                   nullptr);
    return 0;
  }
  const PatchInfo chosen = FindClientPatch(CurrentClientVersion());
  if (!PackageMatches(chosen)) {
    platform::Windows().MessageBox(
        FormatText(QuarnelText(L"NotMatch"), PackageDownloadName(chosen)), QuarnelText(L"Error"),
        nullptr);
    return 0;
  }
  app.PatchInfo = chosen;
  return 1;
}
