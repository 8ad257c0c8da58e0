#include "config/unsigned_number.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const wchar_t* text;
  std::uint32_t expected;
};

class ParseUnsignedDecimalTest : public ::testing::TestWithParam<Case> {};

TEST_P(ParseUnsignedDecimalTest, ConvertsLikeTheCLibrary) {
  EXPECT_EQ(ParseUnsignedDecimal(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseUnsignedDecimalTest,
    ::testing::Values(Case{L"12345", 12345}, Case{L"", 0}, Case{L"abc", 0}, Case{L"  42abc", 42},
                      Case{L"\t\n\v\f\r 7", 7}, Case{L"0x1F", 0}, Case{L"+15", 15},
                      Case{L"- 5", 0}, Case{L"+-5", 0}, Case{L"4294967295", 4294967295u},
                      Case{L"4294967296", 4294967295u},
                      Case{L"99999999999999999999999999", 4294967295u},
                      Case{L"-1", 4294967295u}, Case{L"-5", 4294967291u},
                      Case{L"-4294967295", 1}, Case{L"-4294967296", 4294967295u},
                      Case{L"-0", 0}, Case{L"0000000000000000000000012", 12},
                      Case{L"1 2", 1}, Case{L"\u00A012", 0}, Case{L"\uFF11\uFF12", 0}));

}  // namespace
