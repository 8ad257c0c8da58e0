#include "platform/system.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "platform/text_encoding.h"
#include "support/temp_folder.h"

namespace {

TEST(TextEncoding, RoundTripsAndRefusesInvalidUtf8) {
  const std::wstring text = L"游戏 Vers\u00e9 \U0001F600";
  EXPECT_EQ(platform::FromUtf8(platform::ToUtf8(text)), text);
  EXPECT_FALSE(platform::FromUtf8("ab\xff" "cd"));
  EXPECT_FALSE(platform::FromUtf8("\xe6\xb8"));  // truncated sequence
  EXPECT_EQ(platform::FromUtf8Lossy("a\xff" "b"), L"a\uFFFDb");
}

TEST(SystemErrorDescription, KnownAndUnknownCodes) {
  EXPECT_FALSE(platform::SystemErrorDescription(ENOENT).empty());
  EXPECT_TRUE(platform::SystemErrorDescription(0x7FFF1234u).empty());
}

TEST(RaiseOpenFileLimit, SoftLimitReachesHardLimit) {
  platform::RaiseOpenFileLimit();
  struct rlimit limit {};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  EXPECT_EQ(limit.rlim_cur, limit.rlim_max);
}

TEST(FindProgram, FindsOnPathAndAnswersEmptyWhenMissing) {
  EXPECT_EQ(platform::FindProgram(L"sh").empty(), false);
  EXPECT_TRUE(platform::FindProgram(L"no-such-program-quarnel").empty());
}

TEST(CurrentFolder, FollowsSetCurrentFolder) {
  testing_support::TempFolder folder;
  ASSERT_TRUE(platform::System().SetCurrentFolder(folder.Path()));
  EXPECT_EQ(platform::System().CurrentFolder(), folder.Path());
}

}  // namespace
