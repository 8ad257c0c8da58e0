#include "config/launcher_manifest.h"

#include <pugixml.hpp>

#include "config/unsigned_number.h"
#include "engine/file_utils.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace {

// A version that is not valid UTF-8 reads as missing, so its patch is skipped rather
// than kept under a mangled name.
std::wstring VersionAttribute(const pugi::xml_node& patch, const char* name) {
  return platform::FromUtf8(patch.attribute(name).value()).value_or(std::wstring());
}

std::uint32_t NumberAttribute(const pugi::xml_node& patch, const char* name) {
  return ParseUnsignedDecimal(platform::FromUtf8Lossy(patch.attribute(name).value()));
}

PatchInfo ReadVersions(const pugi::xml_node& patch) {
  PatchInfo info;
  info.srcVersion = VersionAttribute(patch, "srcVersion");
  info.destVersion = VersionAttribute(patch, "destVersion");
  return info;
}

bool HasVersions(const PatchInfo& info) {
  return !info.srcVersion.empty() && !info.destVersion.empty();
}

void ReadLauncherPatches(const pugi::xml_node& launcher, std::vector<PatchInfo>& patches) {
  for (const pugi::xml_node& patch : launcher.children("patch")) {
    PatchInfo info = ReadVersions(patch);
    if (HasVersions(info)) patches.push_back(std::move(info));
  }
}

void ReadClientPatches(const pugi::xml_node& client, std::vector<PatchInfo>& patches) {
  for (const pugi::xml_node& patch : client.children("patch")) {
    PatchInfo info = ReadVersions(patch);
    info.Size = NumberAttribute(patch, "Size");
    info.Crc = NumberAttribute(patch, "Crc");
    if (HasVersions(info)) patches.push_back(std::move(info));
  }
}

}  // namespace

LauncherManifest& LauncherManifest::Instance() {
  static LauncherManifest manifest;
  return manifest;
}

bool LoadManifest(const std::wstring& path) {
  LauncherManifest& manifest = LauncherManifest::Instance();
  manifest.launcherPatches.clear();
  manifest.clientPatches.clear();

  // A folder is no manifest, whatever the C library lets one open.
  if (IsFolder(path)) return false;
  pugi::xml_document document;
  if (!document.load_file(platform::NativePath(path).c_str())) return false;
  const pugi::xml_node root = document.child("root");
  if (!root) return false;
  const pugi::xml_node launcher = root.child("launcher");
  if (!launcher) return false;
  ReadLauncherPatches(launcher, manifest.launcherPatches);
  const pugi::xml_node client = root.child("client");
  if (!client) return false;
  ReadClientPatches(client, manifest.clientPatches);
  return true;
}

PatchInfo FindClientPatch(const std::wstring& version) {
  for (const PatchInfo& patch : LauncherManifest::Instance().clientPatches) {
    if (patch.srcVersion == version) return patch;
  }
  return PatchInfo();
}
