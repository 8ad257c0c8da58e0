#include "engine/system_error_text.h"

#include <cwchar>

#include "platform/system.h"

namespace {

std::wstring UnknownErrorText(std::uint32_t code) {
  wchar_t text[64];
  std::swprintf(text, sizeof text / sizeof text[0], L"Unknown error 0x%0lX", static_cast<unsigned long>(code));
  return text;
}

void RemoveTrailingLineBreak(std::wstring& text) {
  if (text.size() <= 1 || text.back() != L'\n') return;
  text.pop_back();
  if (!text.empty() && text.back() == L'\r') text.pop_back();
}

}  // namespace

std::wstring SystemErrorText(std::uint32_t code) {
  std::wstring text = platform::SystemErrorDescription(code);
  if (text.empty()) return UnknownErrorText(code);
  RemoveTrailingLineBreak(text);
  return text;
}
