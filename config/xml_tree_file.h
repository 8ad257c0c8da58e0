#pragma once
// The installer's and the launcher's configurations are UTF-8 XML files read into
// property trees with wide keys and values.
#include <boost/property_tree/ptree.hpp>
#include <string>

using TextTree = boost::property_tree::wptree;

// Reads the file with the property-tree XML reader (flags 0): a leading byte-order mark
// is skipped and a CR LF pair becomes LF, as a text-mode read gives it. tree is replaced
// only on success; false when the file cannot be read, is not valid UTF-8 (no text is
// ever guessed) or is not well-formed XML.
bool ReadXmlTreeFile(const std::wstring& path, TextTree& tree);

// The value at a '.'-separated path (first child of each name); empty when there is none.
std::wstring ValueAt(const TextTree& tree, const std::wstring& path);
