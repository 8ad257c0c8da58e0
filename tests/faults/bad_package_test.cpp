// Packages and tools that fail the run: a damaged archive that still matches the
// manifest, a delta made from another file, and a missing 7z or xdelta3. Each ends with
// the system's outcome and leaves every game file wholly old or new.
#include <gtest/gtest.h>

#include "fault_game.h"

namespace {

using namespace fault_testing;

using BadPackageTest = FaultTest;

// The manifest is rewritten with the damaged package's length and CRC, so only 7-Zip
// notices (a stored file's CRC fails).
TEST_F(BadPackageTest, DamagedArchiveMatchingTheManifestChangesNothing) {
  Prepare();
  std::string package = game_.PackageBytes();
  package[package.size() / 2] ^= 0x5A;
  game_.WritePackage(package);

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed}));
  EXPECT_EQ(dialog_->statusTexts, std::vector<std::wstring>{L"(ParsePatchesIndexError)"});
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{});
  ExpectGameAt(Version::Old);
}

// The index vouches for the game file (length and CRC agree), but the delta was made from
// other content: xdelta3 refuses every run.
TEST_F(BadPackageTest, DeltaOfAnotherSourceFile) {
  Prepare([&](const std::wstring& top) {
    // Large enough that the delta copies from its source instead of carrying the bytes.
    const std::string otherSource = Noise(1 << 16, 5);
    WriteFile(work_ / L"other source", otherSource);
    WriteFile(work_ / L"new", otherSource + "<Launcher>8</Launcher>");
    EncodeDelta(work_ / L"other source", work_ / L"new", platform::JoinPath(top, L"deltas\\config\\Launcher.cfg.xd3"));
  });

  CUpdater::Instance().run(game_.Patch());

  EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{CannotGenerateBox(L"config\\Launcher.cfg")});
  EXPECT_EQ(installer_.pauses, (std::vector<std::uint32_t>{1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}));
  EXPECT_EQ(ReadFile(Game(L"config/Launcher.cfg")), "<Launcher>7</Launcher>");
  EXPECT_FALSE(Exists(Staging(L"config/Launcher.cfg")));
  EXPECT_EQ(ExpectEachFileOldOrNew(), 4) << "every other file is updated";
}

TEST_F(BadPackageTest, ArchiverMissingChangesNothing) {
  Prepare();
  {
    const ScopedSearchPath emptyPath(work_ / L"no programs");
    CUpdater::Instance().run(game_.Patch());
  }

  EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{Started, Unpacking, PrepareFailed}));
  EXPECT_EQ(dialog_->statusTexts, std::vector<std::wstring>{});
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{});
  ExpectGameAt(Version::Old);
}

TEST_F(BadPackageTest, DeltaToolMissingStopsAtTheFirstPatch) {
  Prepare();
  const std::wstring programs = work_ / L"programs";
  boost::filesystem::create_directories(platform::NativePath(programs));
  boost::filesystem::create_symlink(platform::NativePath(platform::FindProgram(L"7z")),
                                    platform::NativePath(programs + L"/7z"));
  {
    const ScopedSearchPath onlyTheArchiver(programs);
    CUpdater::Instance().run(game_.Patch());
  }

  EXPECT_EQ(CUpdater::Instance().state.load(), FileStepFailed);
  EXPECT_EQ(installer_.BoxTexts(), std::vector<std::wstring>{CannotGenerateBox(L"data\\big patched.bin")});
  EXPECT_EQ(installer_.pauses.size(), 9u);
  EXPECT_EQ(ReadFile(Game(L"data/big patched.bin")), UpdatedFiles()[3].before);
  EXPECT_EQ(ExpectEachFileOldOrNew(), 3) << "the additions and the deletion are made";
}

}  // namespace
