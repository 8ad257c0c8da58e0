#include "package_index_writer.h"

#include <pugixml.hpp>

#include "pack_error.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace {

void SetAttribute(pugi::xml_node node, const char* name, const std::wstring& value) {
  node.append_attribute(name).set_value(platform::ToUtf8(value).c_str());
}

void AppendFileList(pugi::xml_node patches, const char* listName, const std::vector<std::wstring>& paths) {
  pugi::xml_node list = patches.append_child(listName);
  for (const std::wstring& path : paths) SetAttribute(list.append_child("Patch"), "SrcFile", path);
}

}  // namespace

void WritePackageIndex(const PackageIndex& index, const std::wstring& path) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("utf-8");

  pugi::xml_node patches = document.append_child("Root").append_child("Patches");
  patches.append_attribute("TotalSize").set_value(index.totalSize);
  AppendFileList(patches, "AddedFiles", index.addedFiles);
  AppendFileList(patches, "DeletedFiles", index.deletedFiles);
  pugi::xml_node patchList = patches.append_child("PatchFiles");
  for (const PatchedFile& file : index.patchFiles) {
    pugi::xml_node patch = patchList.append_child("Patch");
    SetAttribute(patch, "PatchFile", file.patchFile);
    SetAttribute(patch, "SrcFile", file.srcFile);
    patch.append_attribute("SrcSize").set_value(file.srcSize);
    patch.append_attribute("SrcCrc").set_value(file.srcCrc);
  }
  if (!document.save_file(platform::NativePath(path).c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
    throw PackError("cannot write \"" + platform::NativePath(path) + "\"");
  }
}
