#include "engine/held_files.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "installer_run.h"
#include "platform/path.h"
#include "support/file_opener_process.h"
#include "support/game_layout.h"

namespace {

using engine_testing::InstallerRun;
using testing_support::FileOpenerProcess;
using testing_support::GameLayout;
using testing_support::OtherProcessCanOpenAndLock;
using testing_support::WriteFile;

class HeldFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(first_, "1");
    WriteFile(second_, "2");
  }

  void ExpectRefusalShown(const std::wstring& path) {
    const auto boxes = installer_.windows->Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"[Installing_FileFalid " + path + L"]");
    EXPECT_EQ(boxes[0].caption, L"(Error)");
    EXPECT_EQ(boxes[0].owner, nullptr);
  }

  GameLayout game_;
  InstallerRun installer_{game_};
  const std::wstring first_ = platform::JoinPath(game_.Root(), L"data\\first.pak");
  const std::wstring second_ = platform::JoinPath(game_.Root(), L"second 文件.dat");
  HeldFiles held_;
};

TEST_F(HeldFilesTest, FileKeptOpenByAnotherProcessIsRefused) {
  const FileOpenerProcess client(first_);
  ASSERT_TRUE(client.Opened());
  EXPECT_FALSE(held_.HoldFileOpen(first_));
  ExpectRefusalShown(first_);
  EXPECT_EQ(held_.Count(), 0u);
}

TEST_F(HeldFilesTest, SamePathTwiceIsRefused) {
  ASSERT_TRUE(held_.HoldFileOpen(first_));
  EXPECT_FALSE(held_.HoldFileOpen(first_));
  ExpectRefusalShown(first_);
  EXPECT_TRUE(held_.IsHeld(first_));
}

TEST_F(HeldFilesTest, ReadOnlyFileIsRefused) {
  chmod(platform::NativePath(second_).c_str(), 0444);
  EXPECT_FALSE(held_.HoldFileOpen(second_));
  ExpectRefusalShown(second_);
}

TEST_F(HeldFilesTest, ReleasesOneOrAll) {
  ASSERT_TRUE(held_.HoldFileOpen(first_));
  ASSERT_TRUE(held_.HoldFileOpen(second_));
  EXPECT_FALSE(OtherProcessCanOpenAndLock(first_));

  held_.ReleaseHeldFile(first_);
  held_.ReleaseHeldFile(L"never held");
  EXPECT_FALSE(held_.IsHeld(first_));
  EXPECT_TRUE(OtherProcessCanOpenAndLock(first_));

  held_.ReleaseAllHeldFiles();
  EXPECT_EQ(held_.Count(), 0u);
  EXPECT_TRUE(OtherProcessCanOpenAndLock(second_));
  EXPECT_TRUE(installer_.windows->Boxes().empty());
}

}  // namespace
