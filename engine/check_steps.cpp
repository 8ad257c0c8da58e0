#include "engine/check_steps.h"

#include "config/text_sets.h"
#include "engine/file_utils.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

// A missing file is no error here; the apply step deals with it.
bool HoldIfPresent(HeldFiles& held, const std::wstring& path) {
  return !PathExists(path) || held.HoldFileOpen(path);
}

}  // namespace

bool VerifyPatchSource(const HeldFiles& held, const std::wstring& gameFile, const PatchEntry& entry) {
  if (!held.IsHeld(gameFile)) {
    platform::SetLastErrorCode(0);
    if (!FileDiffers(gameFile, entry.SrcSize, entry.SrcCrc)) return true;
    // Once the holds have taken every file handle the process may open, the file cannot
    // even be read: it is a file that cannot be held, not one that differs.
    if (platform::IsOutOfFileHandles(platform::LastErrorCode())) {
      ShowFileRefused(gameFile);
      return false;
    }
  }
  platform::Windows().MessageBox(FormatText(QuarnelText(L"Installing_PatchErr"), gameFile), QuarnelText(L"Error"),
                                 nullptr);
  return false;
}

bool CheckAddedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry) {
  return HoldIfPresent(held, PackageFilePath(folders, entry));
}

bool CheckDeletedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry) {
  return HoldIfPresent(held, GameFilePath(folders, entry));
}

bool CheckPatchedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry) {
  const std::wstring gameFile = GameFilePath(folders, entry);
  return VerifyPatchSource(held, gameFile, entry) && held.HoldFileOpen(gameFile) &&
         held.HoldFileOpen(PackageFilePath(folders, entry));
}
