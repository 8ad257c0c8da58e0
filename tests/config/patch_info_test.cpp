#include "config/patch_info.h"

#include <gtest/gtest.h>

namespace {

PatchInfo Complete() { return PatchInfo{L"1.0.1", L"1.0.2", 1000, 77}; }

TEST(PatchInfoTest, CompleteRecordNamesItsPackage) {
  const PatchInfo patch = Complete();
  EXPECT_TRUE(IsComplete(patch));
  EXPECT_EQ(PackageBaseName(patch), L"1.0.1-1.0.2");
  EXPECT_EQ(PackageFileName(patch), L"1.0.1-1.0.2.7z");
  EXPECT_EQ(PackageDownloadName(patch), L"Patch_1.0.1-1.0.2.exe");
}

TEST(PatchInfoTest, IncompleteRecordNamesNothing) {
  PatchInfo noCrc = Complete();
  noCrc.Crc = 0;
  PatchInfo noSize = Complete();
  noSize.Size = 0;
  PatchInfo noSource = Complete();
  noSource.srcVersion.clear();
  PatchInfo noTarget = Complete();
  noTarget.destVersion.clear();
  for (const PatchInfo& patch : {PatchInfo(), noCrc, noSize, noSource, noTarget}) {
    EXPECT_FALSE(IsComplete(patch));
    EXPECT_EQ(PackageBaseName(patch), L"");
    EXPECT_EQ(PackageFileName(patch), L"");
    EXPECT_EQ(PackageDownloadName(patch), L"");
  }
}

}  // namespace
