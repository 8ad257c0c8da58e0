#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/file_opener_process.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(FileLockTest, OneLockAtATimeWhileOthersStillOpenTheFile) {
  TempFolder folder;
  const std::wstring path = folder / L"package.7z";
  WriteFile(path, "package");
  std::optional<platform::FileLock> first(path);
  ASSERT_TRUE(first->IsLocked());

  EXPECT_FALSE(platform::FileLock(path).IsLocked());
  EXPECT_FALSE(testing_support::OtherProcessCanOpenAndLock(path));
  const testing_support::FileOpenerProcess reader(path);
  EXPECT_TRUE(reader.Opened());

  first.reset();
  EXPECT_TRUE(platform::FileLock(path).IsLocked());
}

TEST(FileLockTest, MissingFileIsNotLocked) {
  TempFolder folder;
  EXPECT_FALSE(platform::FileLock(folder / L"missing").IsLocked());
}

}  // namespace
