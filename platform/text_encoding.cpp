#include "platform/text_encoding.h"

#include <boost/locale/encoding_utf.hpp>

namespace platform {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsEncodable(wchar_t c) {
  const auto value = static_cast<std::uint32_t>(c);
  return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

}  // namespace

std::string ToUtf8(const std::wstring& text) {
  std::wstring clean(text);
  for (wchar_t& c : clean) {
    if (!IsEncodable(c)) c = kReplacement;
  }
  return boost::locale::conv::utf_to_utf<char>(clean);
}

std::optional<std::wstring> FromUtf8(const std::string& bytes) {
  try {
    return boost::locale::conv::utf_to_utf<wchar_t>(bytes, boost::locale::conv::stop);
  } catch (const boost::locale::conv::conversion_error&) {
    return std::nullopt;
  }
}

std::wstring FromUtf8Lossy(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  const char* position = bytes.data();
  const char* const end = position + bytes.size();
  while (position != end) {
    const auto code = boost::locale::utf::utf_traits<char>::decode(position, end);
    if (code == boost::locale::utf::illegal || code == boost::locale::utf::incomplete) {
      text.push_back(kReplacement);
      continue;  // decode has moved past the offending byte
    }
    text.push_back(static_cast<wchar_t>(code));
  }
  return text;
}

}  // namespace platform
