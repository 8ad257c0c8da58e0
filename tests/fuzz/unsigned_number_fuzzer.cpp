// The unsigned decimal conversion of every number attribute, checked against the C
// library's conversion with 32-bit results (saturation at 4294967295, minus negates).
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "config/unsigned_number.h"
#include "fuzz/fuzz_input.h"

namespace {

std::uint32_t Reference(const std::wstring& text) {
  const wchar_t* position = text.c_str();
  while (*position == L' ' || (*position >= L'\t' && *position <= L'\r')) ++position;
  const bool negative = *position == L'-';
  if (*position == L'+' || *position == L'-') ++position;
  if (*position < L'0' || *position > L'9') return 0;
  errno = 0;
  const unsigned long long magnitude = std::wcstoull(position, nullptr, 10);
  if (errno == ERANGE || magnitude > 0xFFFFFFFFull) return 0xFFFFFFFFu;
  const auto value = static_cast<std::uint32_t>(magnitude);
  return negative ? 0u - value : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring text = fuzzing::WideText(data, size);
  // Attribute values never hold a NUL; the C conversion would stop there.
  text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
  if (ParseUnsignedDecimal(text) != Reference(text)) std::abort();
  return 0;
}
