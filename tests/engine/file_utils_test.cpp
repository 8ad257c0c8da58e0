#include "engine/file_utils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include <gtest/gtest.h>

#include "engine/crc32.h"
#include "platform/path.h"
#include "platform/system.h"
#include "support/temp_folder.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(FileLength, MeasuresFilesAndRefusesFoldersAndMissingPaths) {
  TempFolder folder;
  WriteFile(folder / L"five", "12345");
  EXPECT_EQ(FileLength(folder / L"five"), 5);
  EXPECT_EQ(FileLength(folder / L"missing"), 0);
  EXPECT_EQ(FileLength(folder.Path()), 0);
}

TEST(FileLength, HugeFileNeverMatchesA32BitLengthByWrapAround) {
  TempFolder folder;
  const std::wstring path = folder / L"sparse";
  const std::int64_t length = (std::int64_t{1} << 32) + 1000;
  {
    const int fd = ::open(platform::NativePath(path).c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, length), 0);
    ::close(fd);
  }
  EXPECT_EQ(FileLength(path), length);
  EXPECT_FALSE(LengthMatches(FileLength(path), 1000));
  // Differs on length alone; the CRC of 4 GiB is never read.
  EXPECT_TRUE(FileDiffers(path, 1000, 0));
}

TEST(FileDiffers, ChecksExistenceThenLengthThenCrc) {
  TempFolder folder;
  WriteFile(folder / L"abc", "abc");
  const std::uint32_t crc = 0xE9F4BE4Bu;
  EXPECT_TRUE(FileDiffers(folder / L"missing", 0, 0));
  EXPECT_TRUE(FileDiffers(folder / L"abc", 4, crc));
  EXPECT_TRUE(FileDiffers(folder / L"abc", 3, crc + 1));
  EXPECT_FALSE(FileDiffers(folder / L"abc", 3, crc));
}

TEST(CopyFileReplacing, ReplacesTheDestinationAndKeepsPermissions) {
  TempFolder folder;
  WriteFile(folder / L"source", "new content");
  WriteFile(folder / L"destination", "old content that is longer");
  ::chmod(platform::NativePath(folder / L"source").c_str(), 0751);
  ASSERT_TRUE(CopyFileReplacing(folder / L"source", folder / L"destination"));
  EXPECT_EQ(ReadFile(folder / L"destination"), "new content");
  struct stat info {};
  ::stat(platform::NativePath(folder / L"destination").c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0751u);
}

TEST(CopyFileReplacing, CopiesNonAsciiNamesAndLargeFiles) {
  TempFolder folder;
  std::string bytes(5 * (1 << 20) + 7, 'q');
  bytes[12345] = 'x';
  WriteFile(folder / L"源文件 one", bytes);
  ASSERT_TRUE(CopyFileReplacing(folder / L"源文件 one", folder / L"目标"));
  EXPECT_EQ(ReadFile(folder / L"目标"), bytes);
}

TEST(MoveFileReplacing, ReplacesTheDestinationWithTheSourceItself) {
  TempFolder folder;
  WriteFile(folder / L"源 staging", "rebuilt");
  WriteFile(folder / L"game/目标", "old content that is longer");
  ::chmod(platform::NativePath(folder / L"源 staging").c_str(), 0751);
  struct stat source {};
  ::stat(platform::NativePath(folder / L"源 staging").c_str(), &source);
  ASSERT_TRUE(MoveFileReplacing(folder / L"源 staging", folder / L"game/目标"));
  EXPECT_EQ(ReadFile(folder / L"game/目标"), "rebuilt");
  EXPECT_FALSE(Exists(folder / L"源 staging"));
  struct stat moved {};
  ::stat(platform::NativePath(folder / L"game/目标").c_str(), &moved);
  EXPECT_EQ(moved.st_ino, source.st_ino) << "moved, not copied";
  EXPECT_EQ(moved.st_mode & 07777, 0751u);
}

// A missing source, or a destination folder that does not exist: false with the
// system's error, and the source and the destination as they were.
TEST(ReplacingFileOperations, FailureLeavesSourceAndDestination) {
  const std::pair<const char*, bool (*)(const std::wstring&, const std::wstring&)> operations[] = {
      {"copy", CopyFileReplacing}, {"move", MoveFileReplacing}};
  for (const auto& [name, replace] : operations) {
    TempFolder folder;
    WriteFile(folder / L"destination", "old");
    EXPECT_FALSE(replace(folder / L"missing", folder / L"destination")) << name;
    EXPECT_EQ(platform::LastErrorCode(), static_cast<std::uint32_t>(ENOENT)) << name;
    EXPECT_EQ(ReadFile(folder / L"destination"), "old") << name;
    WriteFile(folder / L"source", "x");
    EXPECT_FALSE(replace(folder / L"source", folder / L"nowhere/destination")) << name;
    EXPECT_EQ(platform::LastErrorCode(), static_cast<std::uint32_t>(ENOENT)) << name;
    EXPECT_EQ(ReadFile(folder / L"source"), "x") << name;
  }
}

TEST(MoveFileReplacing, FolderInTheWayLeavesSourceAndFolder) {
  TempFolder folder;
  WriteFile(folder / L"source", "x");
  WriteFile(folder / L"taken/inside", "kept");
  EXPECT_FALSE(MoveFileReplacing(folder / L"source", folder / L"taken"));
  EXPECT_EQ(ReadFile(folder / L"taken/inside"), "kept");
  EXPECT_EQ(ReadFile(folder / L"source"), "x");
}

TEST(DeleteExistingFile, DeletesFilesOnly) {
  TempFolder folder;
  WriteFile(folder / L"file", "x");
  WriteFile(folder / L"sub/keep", "x");
  EXPECT_FALSE(DeleteExistingFile(folder / L"missing"));
  EXPECT_FALSE(DeleteExistingFile(folder / L"sub"));
  EXPECT_TRUE(Exists(folder / L"sub/keep"));
  EXPECT_TRUE(DeleteExistingFile(folder / L"file"));
  EXPECT_FALSE(Exists(folder / L"file"));
}

TEST(DeleteFolderTree, DeletesTheTreeButNothingALinkPointsTo) {
  TempFolder outside;
  WriteFile(outside / L"precious", "keep me");
  TempFolder folder;
  WriteFile(folder / L"tree/a/b/file", "x");
  ASSERT_EQ(::symlink(platform::NativePath(outside.Path()).c_str(),
                      platform::NativePath(folder / L"tree/a/link").c_str()), 0);
  EXPECT_TRUE(DeleteFolderTree(folder / L"tree"));
  EXPECT_FALSE(Exists(folder / L"tree"));
  EXPECT_EQ(ReadFile(outside / L"precious"), "keep me");
}

TEST(DeleteFolderTree, RefusesFilesAndMissingPaths) {
  TempFolder folder;
  WriteFile(folder / L"file", "x");
  EXPECT_FALSE(DeleteFolderTree(folder / L"file"));
  EXPECT_TRUE(Exists(folder / L"file"));
  EXPECT_FALSE(DeleteFolderTree(folder / L"missing"));
}

TEST(CreateParentFolders, CreatesEveryFolderButTheLastComponent) {
  TempFolder folder;
  CreateParentFolders(folder / L"a\\b\\c.dat");
  EXPECT_TRUE(IsFolder(folder / L"a"));
  EXPECT_TRUE(IsFolder(folder / L"a/b"));
  EXPECT_FALSE(Exists(folder / L"a/b/c.dat"));

  CreateParentFolders(folder / L"x/y\\");
  EXPECT_TRUE(IsFolder(folder / L"x/y"));
}

TEST(CreateParentFolders, PathWithoutSeparatorDoesNothing) {
  TempFolder folder;
  ASSERT_TRUE(platform::System().SetCurrentFolder(folder.Path()));
  CreateParentFolders(L"plain.dat");
  EXPECT_FALSE(Exists(folder / L"plain.dat"));
}

}  // namespace
