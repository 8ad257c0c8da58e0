#include "engine/held_files.h"

#include "config/text_sets.h"
#include "platform/window.h"

void ShowHoldRefused(const std::wstring& path) {
  platform::Windows().MessageBox(FormatText(QuarnelText(L"Installing_FileFalid"), path), LauncherText(L"Error"),
                                 nullptr);
}

bool HeldFiles::HoldFileOpen(const std::wstring& path) {
  // A path already held is refused here: opening it again would only break our own lease.
  if (!IsHeld(path)) {
    platform::ExclusiveFile file(path);
    if (file.IsHeld()) {
      files_.emplace(path, std::move(file));
      return true;
    }
  }
  ShowHoldRefused(path);
  return false;
}

void HeldFiles::ReleaseHeldFile(const std::wstring& path) { files_.erase(path); }

void HeldFiles::ReleaseAllHeldFiles() { files_.clear(); }
