#include "config/xml_tree_file.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/property_tree/xml_parser.hpp>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "engine/file_utils.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace {

std::optional<std::string> ReadBytes(const std::wstring& path) {
  if (!PathExists(path) || IsFolder(path)) return std::nullopt;
  std::ifstream in(platform::NativePath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
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
  const std::optional<std::wstring> text = ReadText(path);
  if (!text) return false;
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
