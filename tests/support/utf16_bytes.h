#pragma once
// Files saved as UTF-16, as other tools write them.
#include <string>

namespace testing_support {

// The UTF-8 text as UTF-16 code units (basic plane only), little- or big-endian, with or
// without the byte-order mark in front.
std::string Utf16Bytes(const std::string& utf8, bool littleEndian, bool byteOrderMark);

}  // namespace testing_support
