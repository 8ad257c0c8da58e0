#include "engine/patch_index.h"

#include <algorithm>
#include <pugixml.hpp>

#include "config/unsigned_number.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace {

const std::wstring kLauncherConfig = L"config\\Launcher.cfg";
const std::wstring kServerList = L"profile\\ServerList.ini";

std::wstring AttributeText(const pugi::xml_node& node, const char* name) {
  return platform::FromUtf8Lossy(node.attribute(name).value());
}

std::uint32_t AttributeNumber(const pugi::xml_node& node, const char* name) {
  return ParseUnsignedDecimal(AttributeText(node, name));
}

PatchEntry ReadEntry(const pugi::xml_node& patch, EntryKind kind) {
  PatchEntry entry;
  entry.kind = kind;
  if (kind == Patched) {
    entry.PatchFile = AttributeText(patch, "PatchFile");
    entry.SrcSize = AttributeNumber(patch, "SrcSize");
    entry.SrcCrc = AttributeNumber(patch, "SrcCrc");
  }
  entry.SrcFile = AttributeText(patch, "SrcFile");
  return entry;
}

// False when the list element is missing.
bool ReadList(const pugi::xml_node& patches, const char* listName, EntryKind kind,
              std::vector<PatchEntry>& entries) {
  const pugi::xml_node list = patches.child(listName);
  if (!list) return false;
  for (pugi::xml_node patch = list.child("Patch"); patch; patch = patch.next_sibling("Patch")) {
    entries.push_back(ReadEntry(patch, kind));
  }
  return true;
}

std::vector<PatchEntry>::iterator FindFirst(std::vector<PatchEntry>& entries, const std::wstring& srcFile) {
  return std::find_if(entries.begin(), entries.end(),
                      [&](const PatchEntry& entry) { return entry.SrcFile == srcFile; });
}

void MoveLauncherConfigLast(std::vector<PatchEntry>& entries) {
  const auto found = FindFirst(entries, kLauncherConfig);
  if (found != entries.end()) std::rotate(found, found + 1, entries.end());
}

void DropServerList(std::vector<PatchEntry>& entries) {
  const auto found = FindFirst(entries, kServerList);
  if (found != entries.end()) entries.erase(found);
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool StartsWithDrive(const std::wstring& path) {
  return path.size() >= 2 && path[1] == L':' &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool HasParentComponent(const std::wstring& path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::find_if(path.begin() + static_cast<std::ptrdiff_t>(start), path.end(), IsSeparator);
    const auto stop = static_cast<std::size_t>(end - path.begin());
    if (path.compare(start, stop - start, L"..") == 0) return true;
    start = stop + 1;
  }
  return false;
}

bool AllPathsContained(const PatchIndex& index) {
  const auto contained = [](const PatchEntry& entry) {
    return IsContainedRelativePath(entry.SrcFile) &&
           (entry.kind != Patched || IsContainedRelativePath(entry.PatchFile));
  };
  return std::all_of(index.AddedFiles.begin(), index.AddedFiles.end(), contained) &&
         std::all_of(index.DeletedFiles.begin(), index.DeletedFiles.end(), contained) &&
         std::all_of(index.PatchFiles.begin(), index.PatchFiles.end(), contained);
}

}  // namespace

bool IsContainedRelativePath(const std::wstring& path) {
  return !path.empty() && !IsSeparator(path.front()) && !StartsWithDrive(path) && !HasParentComponent(path);
}

bool ParsePatchIndex(PatchIndex& index, const std::wstring& path) {
  index.AddedFiles.clear();
  index.DeletedFiles.clear();
  index.PatchFiles.clear();

  pugi::xml_document document;
  if (!document.load_file(platform::NativePath(path).c_str())) return false;
  const pugi::xml_node patches = document.child("Root").child("Patches");
  if (!patches) return false;
  index.TotalSize = AttributeNumber(patches, "TotalSize");

  if (!ReadList(patches, "AddedFiles", Added, index.AddedFiles) ||
      !ReadList(patches, "DeletedFiles", Deleted, index.DeletedFiles) ||
      !ReadList(patches, "PatchFiles", Patched, index.PatchFiles)) {
    return false;
  }
  MoveLauncherConfigLast(index.PatchFiles);
  DropServerList(index.PatchFiles);
  return AllPathsContained(index);
}
