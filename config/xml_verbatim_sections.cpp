#include "config/xml_verbatim_sections.h"

namespace {

struct VerbatimSection {
  std::wstring_view open;
  std::wstring_view close;
};

constexpr VerbatimSection kVerbatimSections[] = {
    {L"<!--", L"-->"}, {L"<![CDATA[", L"]]>"}, {L"<?", L"?>"}, {L"<!DOCTYPE", L">"}};

}  // namespace

std::size_t VerbatimSectionLength(std::wstring_view text) {
  if (!text.starts_with(L'<')) return 0;
  for (const VerbatimSection& section : kVerbatimSections) {
    if (!text.starts_with(section.open)) continue;
    const std::size_t close = text.find(section.close, section.open.size());
    return close == std::wstring_view::npos ? text.size() : close + section.close.size();
  }
  return 0;
}
