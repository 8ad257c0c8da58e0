// The worker's whole update: unpack, read the index, check every entry, apply them all,
// clean up; every step reported through the updater's progress record.
#include <atomic>
#include <optional>
#include <vector>

#include "config/patch_info.h"
#include "config/text_sets.h"
#include "engine/apply_steps.h"
#include "engine/check_steps.h"
#include "engine/contained_paths.h"
#include "engine/file_utils.h"
#include "engine/game_folders.h"
#include "engine/held_files.h"
#include "engine/patch_index.h"
#include "engine/tool_runner.h"
#include "engine/updater.h"
#include "platform/file_lock.h"
#include "platform/path.h"

namespace {

using EntryStep = bool (*)(HeldFiles&, const UpdateFolders&, const PatchEntry&);

// The package's base name names a folder and files beside the installer, so it must be a
// plain name: anything else could make the run unpack or delete elsewhere.
bool IsPlainName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/") == std::wstring::npos;
}

// Whether path is folder or lies below it.
bool IsWithin(const std::wstring& path, const std::wstring& folder) {
  return path == folder || path.rfind(platform::JoinPath(folder, L""), 0) == 0;
}

class UpdateRun {
 public:
  UpdateRun(CUpdater& updater, const PatchInfo& patch)
      : updater_(updater),
        baseName_(PackageBaseName(patch)),
        programFolder_(ProgramFolder()),
        folders_{platform::JoinPath(programFolder_, baseName_), GameRootFolder(), InstallerFolder()} {}

  void Run() {
    updater_.Notify(Started);
    updater_.Notify(Unpacking);
    if (!LockPackage()) return Finish(FileStepFailed);
    if (!Unpack()) return Finish(PrepareFailed);
    // A package whose files are links, or a game path that links lead out of the game
    // folder, could make the run read or write anywhere: it is no readable package.
    if (!ParsePatchIndex(index_, platform::JoinPath(folders_.unpack, baseName_ + L".xml")) ||
        !EntriesStayInside(index_, folders_)) {
      updater_.SetStatusText(LauncherText(L"ParsePatchesIndexError"));
      return Finish(PrepareFailed);
    }
    DeleteFolderTree(folders_.staging);
    SetTotals();
    updater_.Notify(Counted);
    updater_.Notify(Checking);
    if (!CheckAll()) return Finish(FileStepFailed);
    updater_.Notify(Applying);
    if (!ApplyAll()) return Finish(FileStepFailed);
    DeleteFolderTree(folders_.unpack);
    DeleteFolderTree(folders_.staging);
    Finish(Succeeded);
  }

 private:
  // One run per package at a time: a second one would unpack over the files the first
  // one is copying from and empty its staging folder. A missing package is left to the
  // unpacking to report.
  bool LockPackage() {
    const std::wstring package = PackagePath();
    if (!IsPlainName(baseName_) || !PathExists(package)) return true;
    packageLock_.emplace(package);
    if (packageLock_->IsLocked()) return true;
    ShowFileRefused(package);
    return false;
  }

  std::wstring PackagePath() const { return platform::JoinPath(programFolder_, baseName_ + L".7z"); }

  // A failed unpacking (a full disk, a damaged archive) may leave the index but not
  // every file: it counts as an unreadable package, before any game file is touched.
  // An installer inside the staging folder is refused: emptying that folder would delete
  // the installer, its package and the unpacked files.
  bool Unpack() {
    if (!IsPlainName(baseName_) || IsWithin(programFolder_, folders_.staging)) return false;
    const ToolResult result = RunArchiver(PackagePath(), programFolder_);
    if (result == ToolResult::Failed) updater_.SetStatusText(LauncherText(L"ParsePatchesIndexError"));
    return result == ToolResult::Succeeded;
  }

  void SetTotals() {
    const auto total = static_cast<std::uint32_t>(index_.AddedFiles.size() + index_.DeletedFiles.size() +
                                                  index_.PatchFiles.size());
    updater_.checkedCount.store(0, std::memory_order_relaxed);
    updater_.checkTotal.store(total, std::memory_order_relaxed);
    updater_.updatedCount.store(0, std::memory_order_relaxed);
    updater_.updateTotal.store(total, std::memory_order_relaxed);
  }

  bool CheckAll() {
    return CheckEach(index_.AddedFiles, CheckAddedEntry) && CheckEach(index_.DeletedFiles, CheckDeletedEntry) &&
           CheckEach(index_.PatchFiles, CheckPatchedEntry);
  }

  bool CheckEach(const std::vector<PatchEntry>& entries, EntryStep check) {
    for (const PatchEntry& entry : entries) {
      if (!check(held_, folders_, entry)) return false;
      updater_.checkedCount.fetch_add(1, std::memory_order_relaxed);
    }
    return true;
  }

  bool ApplyAll() {
    return ApplyEach(index_.AddedFiles, ApplyAddedEntry, L"Installing_Added", GameFilePath) &&
           ApplyEach(index_.DeletedFiles, ApplyDeletedEntry, L"Installing_Deleted", GameFilePath) &&
           ApplyEach(index_.PatchFiles, ApplyPatchedEntry, L"Installing_PatchFile", StagingFilePath);
  }

  using LoggedPath = std::wstring (*)(const UpdateFolders&, const PatchEntry&);

  bool ApplyEach(const std::vector<PatchEntry>& entries, EntryStep apply, const wchar_t* logKey, LoggedPath logged) {
    for (const PatchEntry& entry : entries) {
      if (!apply(held_, folders_, entry)) return false;
      updater_.updatedCount.fetch_add(1, std::memory_order_relaxed);
      updater_.AddLogLine(QuarnelText(logKey) + logged(folders_, entry));
    }
    return true;
  }

  void Finish(UpdaterState end) {
    updater_.Notify(end);
    held_.ReleaseAllHeldFiles();
  }

  CUpdater& updater_;
  const std::wstring baseName_;
  const std::wstring programFolder_;
  const UpdateFolders folders_;
  PatchIndex index_;
  HeldFiles held_;
  std::optional<platform::FileLock> packageLock_;
};

}  // namespace

void CUpdater::run(const PatchInfo& patch) {
  if (!IsComplete(patch)) return;
  UpdateRun(*this, patch).Run();
}
