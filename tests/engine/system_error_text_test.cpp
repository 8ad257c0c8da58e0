#include "engine/system_error_text.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(SystemErrorText, SystemTextOrUpperCaseHexadecimalFallback) {
  EXPECT_EQ(SystemErrorText(EACCES), L"Permission denied");
  EXPECT_EQ(SystemErrorText(0x7FFF12ABu), L"Unknown error 0x7FFF12AB");
  EXPECT_EQ(SystemErrorText(0xFFFFFFFFu), L"Unknown error 0xFFFFFFFF");
}

}  // namespace
