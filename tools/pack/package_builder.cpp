#include "package_builder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>

#include "content_comparison.h"
#include "delta_encoder.h"
#include "folder_listing.h"
#include "index_paths.h"
#include "manifest_update.h"
#include "pack_error.h"
#include "package_archiver.h"
#include "package_index_writer.h"
#include "parallel_tasks.h"
#include "platform/path.h"
#include "platform/text_encoding.h"
#include "progress_meter.h"
#include "scratch_folder.h"
#include "tree_changes.h"

namespace fs = std::filesystem;

namespace {

// Sizes in the index and the manifest are unsigned 32-bit numbers.
constexpr std::uint64_t kLargestDescribableSize = std::numeric_limits<std::uint32_t>::max();

[[noreturn]] void Fail(const std::wstring& message) { throw PackError(platform::ToUtf8(message)); }

void CheckVersions(const std::wstring& from, const std::wstring& to) {
  for (const std::wstring& version : {from, to}) {
    if (version.empty() || version == L"." || version == L".." ||
        version.find_first_of(L"/\\") != std::wstring::npos) {
      Fail(L"\"" + version + L"\" cannot be a version: the package is named after it");
    }
  }
  if (from == to) Fail(L"the two versions are both \"" + from + L"\"; a patch leads from one version to another");
}

void RefuseOversized(const std::wstring& indexPath, std::uint64_t size) {
  if (size > kLargestDescribableSize) {
    Fail(L"\"" + indexPath + L"\" has " + std::to_wstring(size) +
         L" bytes; a patch index describes files of at most 4294967295 bytes");
  }
}

// A folder of the package for the deltas whose name no added file starts with.
std::wstring ChooseDeltaFolder(const std::vector<std::wstring>& added) {
  std::vector<std::wstring> taken;
  for (const std::wstring& path : added) taken.push_back(CaseFolded(TopElement(path)));
  std::wstring candidate = L"deltas";
  for (int suffix = 1; std::ranges::find(taken, candidate) != taken.end(); ++suffix) {
    candidate = L"deltas-" + std::to_wstring(suffix);
  }
  return candidate;
}

fs::path Native(const std::wstring& path) { return fs::path(platform::NativePath(path)); }

void PlaceFile(const std::wstring& source, const std::wstring& destination) {
  std::error_code error;
  fs::create_directories(Native(destination).parent_path(), error);
  // A hard link costs no copy; a copy serves across file systems.
  fs::create_hard_link(Native(source), Native(destination), error);
  if (error) fs::copy_file(Native(source), Native(destination), error);
  if (error) throw PackError("cannot copy \"" + Native(source).string() + "\" into the package: " + error.message());
}

std::uint64_t TotalSize(const std::vector<std::wstring>& paths, const FolderListing& listing) {
  std::uint64_t total = 0;
  for (const std::wstring& path : paths) total += listing.files.at(path);
  return total;
}

// The work on the files: added files placed in the staged package, common files compared
// and the changed ones given a delta.
class FileStager {
 public:
  FileStager(const PackRequest& request, const FolderListing& oldListing, const FolderListing& newListing,
             const TreeChanges& changes, const DeltaEncoder& encoder, std::wstring stagedTop)
      : request_(request), oldListing_(oldListing), newListing_(newListing), changes_(changes), encoder_(encoder),
        stagedTop_(std::move(stagedTop)),
        deltaFolder_(ChooseDeltaFolder(changes.added)), patches_(changes.common.size()) {}

  void Run(const WarningSink& warn) {
    for (const std::wstring& path : changes_.added) RefuseOversized(path, newListing_.files.at(path));
    for (const std::wstring& path : changes_.common) {
      if (oldListing_.files.at(path) != newListing_.files.at(path)) {
        RefuseOversized(path, std::max(oldListing_.files.at(path), newListing_.files.at(path)));
      }
    }
    const std::size_t commonCount = changes_.common.size();
    ProgressMeter meter("comparing files and making deltas", commonCount + changes_.added.size(),
                        TotalSize(changes_.common, newListing_) + TotalSize(changes_.added, newListing_),
                        request_.showProgress);
    RunInParallel(commonCount + changes_.added.size(), request_.jobs, [&](std::size_t task) {
      const bool common = task < commonCount;
      const std::wstring& path = common ? changes_.common[task] : changes_.added[task - commonCount];
      common ? StagePatch(task) : StageAddition(path);
      meter.FileDone(newListing_.files.at(path));
    });
    if (serverListChanged_) {
      warn(L"the new version changes " + std::wstring(kServerListPath) +
           L", which the installer never patches: players keep their own; it is left out of the package");
    }
  }

  std::vector<PatchedFile> PatchedFiles() const {
    std::vector<PatchedFile> files;
    for (const std::optional<PatchedFile>& patch : patches_) {
      if (patch) files.push_back(*patch);
    }
    return files;
  }

  std::uint64_t PackedBytes() const { return packedBytes_; }

 private:
  void StageAddition(const std::wstring& path) {
    PlaceFile(platform::JoinPath(request_.newFolder, path), platform::JoinPath(stagedTop_, path));
    packedBytes_ += newListing_.files.at(path);
  }

  void StagePatch(std::size_t task) {
    const std::wstring& path = changes_.common[task];
    const std::wstring oldFile = platform::JoinPath(request_.oldFolder, path);
    const std::wstring newFile = platform::JoinPath(request_.newFolder, path);
    const std::uint64_t oldSize = oldListing_.files.at(path);
    std::optional<std::uint32_t> oldCrc;
    if (oldSize == newListing_.files.at(path)) {
      const ContentComparison comparison = CompareContent(oldFile, newFile);
      if (comparison.identical) return;
      oldCrc = comparison.oldCrc;
    }
    if (path == kServerListPath) {
      serverListChanged_ = true;
      return;
    }
    RefuseOversized(path, oldSize);
    if (!oldCrc) oldCrc = CheckedFileCrc32(oldFile);
    const std::wstring deltaPath = deltaFolder_ + L"\\" + path + L".xd3";
    const std::wstring stagedDelta = platform::JoinPath(stagedTop_, deltaPath);
    std::error_code error;
    fs::create_directories(Native(stagedDelta).parent_path(), error);
    encoder_.Encode(oldFile, oldSize, newFile, stagedDelta);
    const std::uintmax_t deltaSize = fs::file_size(Native(stagedDelta), error);
    if (error) throw PackError("xdelta3 wrote no delta for \"" + Native(newFile).string() + "\"");
    packedBytes_ += deltaSize;
    patches_[task] = PatchedFile{.patchFile = deltaPath, .srcFile = path,
                                 .srcSize = static_cast<std::uint32_t>(oldSize), .srcCrc = *oldCrc};
  }

  const PackRequest& request_;
  const FolderListing& oldListing_;
  const FolderListing& newListing_;
  const TreeChanges& changes_;
  const DeltaEncoder& encoder_;
  const std::wstring stagedTop_;
  const std::wstring deltaFolder_;
  std::vector<std::optional<PatchedFile>> patches_;  // one place per common file
  std::atomic<std::uint64_t> packedBytes_{0};
  std::atomic<bool> serverListChanged_{false};
};

void RefuseIndexNameClash(const std::vector<std::wstring>& added, const std::wstring& indexName) {
  for (const std::wstring& path : added) {
    if (CaseFolded(path) == CaseFolded(indexName)) {
      Fail(L"the new version has a file \"" + path + L"\" where the package keeps its index");
    }
  }
}

void Commit(const std::wstring& stagedArchive, const std::wstring& packagePath, ManifestUpdate& manifest) {
  std::error_code error;
  fs::rename(Native(stagedArchive), Native(packagePath), error);
  if (error) Fail(L"cannot write \"" + packagePath + L"\": " + platform::FromUtf8Lossy(error.message()));
  try {
    manifest.Commit();
  } catch (const PackError&) {
    fs::remove(Native(packagePath), error);
    throw;
  }
}

}  // namespace

PackSummary BuildPackage(const PackRequest& request, const WarningSink& warn) {
  CheckVersions(request.fromVersion, request.toVersion);
  const PackageArchiver archiver(request.compressionLevel);
  const DeltaEncoder encoder(request.sourceWindowLimit);
  const FolderListing oldListing = ListFolder(request.oldFolder);
  const FolderListing newListing = ListFolder(request.newFolder);
  const TreeChanges changes = CompareListings(oldListing, newListing);
  for (const auto* warnings : {&oldListing.warnings, &newListing.warnings, &changes.warnings}) {
    for (const std::wstring& warning : *warnings) warn(warning);
  }

  PackSummary summary;
  summary.patch.srcVersion = request.fromVersion;
  summary.patch.destVersion = request.toVersion;
  const std::wstring baseName = request.fromVersion + L"-" + request.toVersion;
  RefuseIndexNameClash(changes.added, baseName + L".xml");

  std::error_code error;
  fs::create_directories(Native(request.outputFolder), error);
  const ScratchFolder scratch(request.outputFolder);
  const std::wstring stagedTop = platform::JoinPath(scratch.Path(), baseName);
  fs::create_directory(Native(stagedTop), error);

  FileStager stager(request, oldListing, newListing, changes, encoder, stagedTop);
  stager.Run(warn);
  PackageIndex index{.addedFiles = changes.added, .deletedFiles = changes.deleted, .patchFiles = stager.PatchedFiles()};
  index.totalSize = static_cast<std::uint32_t>(std::min(stager.PackedBytes(), kLargestDescribableSize));
  WritePackageIndex(index, platform::JoinPath(stagedTop, baseName + L".xml"));

  const std::wstring stagedArchive = platform::JoinPath(scratch.Path(), baseName + L".7z");
  if (request.showProgress) std::cerr << "compressing " << ByteCount(stager.PackedBytes()) << " with 7z\n";
  archiver.Pack(scratch.Path(), baseName, stagedArchive);
  const std::uint64_t packageSize = fs::file_size(Native(stagedArchive), error);
  if (error) Fail(L"cannot measure the package: " + platform::FromUtf8Lossy(error.message()));
  RefuseOversized(baseName + L".7z", packageSize);
  summary.patch.Size = static_cast<std::uint32_t>(packageSize);
  summary.patch.Crc = CheckedFileCrc32(stagedArchive);
  // The installer takes a zero CRC for a missing one.
  if (summary.patch.Crc == 0) {
    Fail(L"the package's CRC-32 happens to be 0, which a manifest cannot hold; pack it with another --level");
  }

  ManifestUpdate manifest(request.manifestPath, summary.patch);
  for (const std::wstring& warning : manifest.Warnings()) warn(warning);
  summary.packagePath = platform::JoinPath(request.outputFolder, baseName + L".7z");
  Commit(stagedArchive, summary.packagePath, manifest);
  summary.addedCount = index.addedFiles.size();
  summary.deletedCount = index.deletedFiles.size();
  summary.patchedCount = index.patchFiles.size();
  return summary;
}
