#include "config/xml_nesting.h"

#include "config/xml_verbatim_sections.h"

namespace {

// Offset of the '>' that ends the tag at the start of text, npos when there is none.
std::size_t TagEnd(std::wstring_view text) {
  wchar_t quote = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == L'"' || c == L'\'') {
      quote = c;
    } else if (c == L'>') {
      return i;
    }
  }
  return std::wstring_view::npos;
}

}  // namespace

bool NestsDeeperThan(std::wstring_view xml, std::size_t limit) {
  std::size_t depth = 0;
  for (std::size_t tag; (tag = xml.find(L'<')) != std::wstring_view::npos;) {
    xml.remove_prefix(tag);
    if (const std::size_t verbatim = VerbatimSectionLength(xml)) {
      xml.remove_prefix(verbatim);
      continue;
    }
    const std::size_t end = TagEnd(xml);
    if (end == std::wstring_view::npos) return false;  // the reader stops there
    if (xml.starts_with(L"</")) {
      if (depth > 0) --depth;
    } else if (!xml.starts_with(L"<!") && xml[end - 1] != L'/' && ++depth > limit) {
      return true;
    }
    xml.remove_prefix(end + 1);
  }
  return false;
}
