#include "config/unsigned_number.h"

namespace {

constexpr std::uint64_t kMaximum = 0xFFFFFFFFu;

// The C locale's white space, which is what the conversion skips on every platform.
bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::uint32_t ParseUnsignedDecimal(std::wstring_view text) {
  auto position = text.begin();
  while (position != text.end() && IsSpace(*position)) ++position;

  bool negative = false;
  if (position != text.end() && (*position == L'+' || *position == L'-')) {
    negative = *position == L'-';
    ++position;
  }

  std::uint64_t value = 0;
  for (; position != text.end() && IsDigit(*position); ++position) {
    value = value * 10 + static_cast<std::uint64_t>(*position - L'0');
    if (value > kMaximum) return static_cast<std::uint32_t>(kMaximum);  // saturates, sign or not
  }
  const auto magnitude = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - magnitude) : magnitude;
}
