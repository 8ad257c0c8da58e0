#include "index_paths.h"

#include <cwctype>

std::wstring TopElement(const std::wstring& indexPath) { return indexPath.substr(0, indexPath.find(L'\\')); }

std::wstring CaseFolded(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
  return text;
}
