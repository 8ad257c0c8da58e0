#include "support/utf16_bytes.h"

#include "platform/text_encoding.h"

namespace testing_support {

std::string Utf16Bytes(const std::string& utf8, bool littleEndian, bool byteOrderMark) {
  std::string bytes = byteOrderMark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (const wchar_t c : platform::FromUtf8Lossy(utf8)) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>((c >> 8) & 0xFF);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

}  // namespace testing_support
