#include "config/xml_tree_file.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/property_tree/xml_parser.hpp>
#include <optional>
#include <sstream>

#include "config/character_references.h"
#include "platform/input_file.h"
#include "platform/text_encoding.h"

namespace {

// The whole file, or nothing when it cannot be opened (a folder cannot) or read to its end.
std::optional<std::string> ReadBytes(const std::wstring& path) {
  std::optional<platform::InputFile> file = platform::InputFile::Open(path);
  if (!file) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const std::size_t got = file->Read(bytes.data() + filled, bytes.size() - filled);
    if (got == 0) return std::nullopt;
    filled += got;
  }
  return bytes;
}

std::optional<std::wstring> ReadText(const std::wstring& path) {
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) return std::nullopt;
  std::optional<std::wstring> text = platform::FromUtf8(*bytes);
  if (text) boost::algorithm::replace_all(*text, L"\r\n", L"\n");
  return text;
}

}  // namespace

bool ReadXmlTreeFile(const std::wstring& path, TextTree& tree) {
  std::optional<std::wstring> text = ReadText(path);
  if (!text || !ResolveCharacterReferences(*text)) return false;
  std::wistringstream stream(*text);
  TextTree parsed;
  try {
    boost::property_tree::read_xml(stream, parsed, 0);
  } catch (const boost::property_tree::ptree_error&) {
    return false;
  }
  tree.swap(parsed);
  return true;
}

std::wstring ValueAt(const TextTree& tree, const std::wstring& path) {
  const auto node = tree.get_child_optional(path);
  return node ? node->data() : std::wstring();
}
