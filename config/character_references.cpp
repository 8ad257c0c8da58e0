#include "config/character_references.h"

#include <boost/locale/utf.hpp>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

namespace {

struct VerbatimSection {
  std::wstring_view open;
  std::wstring_view close;
};

constexpr VerbatimSection kVerbatimSections[] = {
    {L"<!--", L"-->"}, {L"<![CDATA[", L"]]>"}, {L"<?", L"?>"}, {L"<!DOCTYPE", L">"}};

// Length of the verbatim section that starts the text, 0 when none does.
std::size_t VerbatimLength(std::wstring_view text) {
  if (!text.starts_with(L'<')) return 0;
  for (const VerbatimSection& section : kVerbatimSections) {
    if (!text.starts_with(section.open)) continue;
    const std::size_t close = text.find(section.close, section.open.size());
    return close == std::wstring_view::npos ? text.size() : close + section.close.size();
  }
  return 0;
}

struct Reference {
  std::uint32_t code;
  std::size_t length;
};

int DigitValue(wchar_t c, int base) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (base == 16 && c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (base == 16 && c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// A complete "&#...;" or "&#x...;" at the start of text; anything else is left to the reader.
std::optional<Reference> ReadReference(std::wstring_view text) {
  if (!text.starts_with(L"&#")) return std::nullopt;
  const bool hex = text.size() > 2 && text[2] == L'x';
  const int base = hex ? 16 : 10;
  std::size_t position = hex ? 3 : 2;
  std::uint32_t code = 0;
  const std::size_t firstDigit = position;
  for (int digit; position < text.size() && (digit = DigitValue(text[position], base)) >= 0;
       ++position) {
    // Past the last character the value only needs to stay too large.
    if (code <= 0x10FFFF) code = code * base + static_cast<std::uint32_t>(digit);
  }
  if (position == firstDigit || position == text.size() || text[position] != L';') {
    return std::nullopt;
  }
  return Reference{code, position + 1};
}

bool NamesCharacter(std::uint32_t code) {
  return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

}  // namespace

bool ResolveCharacterReferences(std::wstring& xml) {
  std::wstring resolved;
  resolved.reserve(xml.size());
  std::wstring_view rest(xml);
  while (!rest.empty()) {
    if (const std::size_t verbatim = VerbatimLength(rest)) {
      resolved.append(rest.substr(0, verbatim));
      rest.remove_prefix(verbatim);
      continue;
    }
    if (const std::optional<Reference> reference = ReadReference(rest);
        reference && reference->code > 0x7F) {
      if (!NamesCharacter(reference->code)) return false;
      boost::locale::utf::utf_traits<wchar_t>::encode(reference->code,
                                                      std::back_inserter(resolved));
      rest.remove_prefix(reference->length);
      continue;
    }
    resolved.push_back(rest.front());
    rest.remove_prefix(1);
  }
  xml.swap(resolved);
  return true;
}
