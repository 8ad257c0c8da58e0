#include "config/unsigned_number.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"

namespace {

TEST(ParseUnsignedDecimal, ConvertsLikeTheCLibraryWithBase10) {
  struct Case {
    const wchar_t* text;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {L"12345", 12345}, {L"", 0}, {L"abc", 0}, {L"  42abc", 42}, {L"\t\n\v\f\r 7", 7},
      {L"0x1F", 0}, {L"+15", 15}, {L"- 5", 0}, {L"+-5", 0}, {L"1 2", 1},
      {L"0000000000000000000000012", 12},
      // Saturation, whatever the sign.
      {L"4294967295", 4294967295u}, {L"4294967296", 4294967295u},
      {L"99999999999999999999999999", 4294967295u}, {L"-4294967296", 4294967295u},
      // A minus sign negates modulo 2^32.
      {L"-1", 4294967295u}, {L"-5", 4294967291u}, {L"-4294967295", 1}, {L"-0", 0},
      // Only ASCII white space and digits count.
      {L"\u00A012", 0}, {L"\uFF11\uFF12", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseUnsignedDecimal(c.text), c.expected) << '"' << platform::ToUtf8(c.text) << '"';
  }
}

}  // namespace
