#include "manifest_update.h"

#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>
#include <system_error>

#include "pack_error.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace {

constexpr unsigned kKeepEverything = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                                     pugi::parse_pi | pugi::parse_doctype;

pugi::xml_document LoadOrCreate(const std::string& path) {
  pugi::xml_document document;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("utf-8");
    document.append_child("root");
    return document;
  }
  const pugi::xml_parse_result result = document.load_file(path.c_str(), kKeepEverything);
  if (!result) throw PackError("\"" + path + "\" cannot be read as XML: " + result.description());
  if (!document.child("root")) throw PackError("\"" + path + "\" has no root element: it is not a launcher manifest");
  return document;
}

pugi::xml_node ChildOrAppended(pugi::xml_node parent, const char* name) {
  pugi::xml_node child = parent.child(name);
  return child ? child : parent.append_child(name);
}

}  // namespace

ManifestUpdate::ManifestUpdate(const std::wstring& manifestPath, const PatchInfo& patch)
    : manifestPath_(platform::NativePath(manifestPath)), pendingPath_(manifestPath_ + ".quarnel-pack-new") {
  pugi::xml_document document = LoadOrCreate(manifestPath_);
  pugi::xml_node root = document.child("root");
  ChildOrAppended(root, "launcher");  // the installer refuses a manifest without it
  pugi::xml_node client = ChildOrAppended(root, "client");

  const std::string from = platform::ToUtf8(patch.srcVersion);
  const std::string to = platform::ToUtf8(patch.destVersion);
  pugi::xml_node entry;
  for (pugi::xml_node candidate : client.children("patch")) {
    if (from != candidate.attribute("srcVersion").value()) continue;
    if (to == candidate.attribute("destVersion").value()) {
      entry = candidate;
      break;
    }
    warnings_.push_back(L"index.xml lists an earlier client patch from " + patch.srcVersion + L" to " +
                        platform::FromUtf8Lossy(candidate.attribute("destVersion").value()) +
                        L"; the installer takes the first one from a version");
  }
  if (!entry) {
    entry = client.append_child("patch");
    entry.append_attribute("srcVersion").set_value(from.c_str());
    entry.append_attribute("destVersion").set_value(to.c_str());
  }
  for (const char* name : {"Size", "Crc"}) {
    if (!entry.attribute(name)) entry.append_attribute(name);
  }
  entry.attribute("Size").set_value(patch.Size);
  entry.attribute("Crc").set_value(patch.Crc);

  if (!document.save_file(pendingPath_.c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
    std::remove(pendingPath_.c_str());
    throw PackError("cannot write \"" + pendingPath_ + "\"");
  }
}

ManifestUpdate::~ManifestUpdate() {
  if (!committed_) std::remove(pendingPath_.c_str());
}

void ManifestUpdate::Commit() {
  std::error_code error;
  std::filesystem::rename(pendingPath_, manifestPath_, error);
  if (error) throw PackError("cannot replace \"" + manifestPath_ + "\": " + error.message());
  committed_ = true;
}
