#include "platform/exclusive_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/path.h"
#include "support/file_opener_process.h"
#include "support/temp_folder.h"

namespace {

using platform::ExclusiveFile;
using testing_support::FileOpenerProcess;
using testing_support::OtherProcessCanOpenAndLock;
using testing_support::TempFolder;
using testing_support::WriteFile;

class ExclusiveFileTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(file_, "content"); }

  TempFolder folder_;
  const std::wstring file_ = folder_ / L"游戏 data.pak";
};

TEST_F(ExclusiveFileTest, HeldFileIsRefusedToOthersUntilReleased) {
  ExclusiveFile held(file_);
  ASSERT_TRUE(held.IsHeld());
  // The attempt breaks the lease, which the kernel signals to this process: it survives.
  EXPECT_FALSE(OtherProcessCanOpenAndLock(file_));
  EXPECT_FALSE(ExclusiveFile(folder_ / L"./游戏 data.pak").IsHeld());
  EXPECT_TRUE(held.IsHeld());

  ExclusiveFile moved(std::move(held));
  EXPECT_TRUE(moved.IsHeld());
  EXPECT_FALSE(held.IsHeld());
  moved.Release();
  EXPECT_TRUE(OtherProcessCanOpenAndLock(file_));
  EXPECT_TRUE(ExclusiveFile(file_).IsHeld());
}

TEST_F(ExclusiveFileTest, FileOpenElsewhereCannotBeHeld) {
  {
    const FileOpenerProcess opener(file_);
    ASSERT_TRUE(opener.Opened());
    EXPECT_TRUE(platform::OtherProcessHasOpen(file_));
    EXPECT_FALSE(ExclusiveFile(file_).IsHeld());
  }
  EXPECT_FALSE(platform::OtherProcessHasOpen(file_));
  EXPECT_TRUE(ExclusiveFile(file_).IsHeld());
}

TEST_F(ExclusiveFileTest, OnlyWritableRegularFilesCanBeHeld) {
  EXPECT_FALSE(ExclusiveFile(folder_ / L"missing").IsHeld());
  EXPECT_FALSE(ExclusiveFile(folder_.Path()).IsHeld());
  // Refused even for root, as the read-only attribute is.
  chmod(platform::NativePath(file_).c_str(), 0444);
  EXPECT_FALSE(ExclusiveFile(file_).IsHeld());
}

TEST_F(ExclusiveFileTest, OwnOpenFilesAreNotOtherProcesses) {
  const ExclusiveFile held(file_);
  ASSERT_TRUE(held.IsHeld());
  EXPECT_FALSE(platform::OtherProcessHasOpen(file_));
}

}  // namespace
