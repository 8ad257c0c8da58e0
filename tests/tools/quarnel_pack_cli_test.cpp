// The quarnel-pack program as a publisher meets it: its help, its exit codes, its messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

namespace {

using testing_support::ReadFile;

struct PackRun {
  std::optional<int> exitCode;
  std::string output;
  std::string errors;
};

PackRun RunPack(const testing_support::TempFolder& temp, const std::wstring& arguments) {
  const char* build = std::getenv("QUARNEL_BUILD_DIR");
  if (!build) throw std::runtime_error("run through ctest");
  const std::wstring command = L"'" + platform::FromUtf8Lossy(build) + L"/tools/quarnel-pack' " + arguments +
                               L" >" + (temp / L"stdout") + L" 2>" + (temp / L"stderr");
  PackRun run;
  run.exitCode = platform::System().RunProgram(platform::FindProgram(L"sh"), {L"-c", command}, temp.Path());
  run.output = ReadFile(temp / L"stdout");
  run.errors = ReadFile(temp / L"stderr");
  return run;
}

TEST(QuarnelPackCliTest, HelpDocumentsEveryOption) {
  testing_support::TempFolder temp;
  const PackRun run = RunPack(temp, L"--help");
  EXPECT_EQ(run.exitCode, 0);
  for (const char* option : {"--old DIR", "--new DIR", "--from VERSION", "--to VERSION", "--output DIR",
                             "--manifest FILE", "-j [ --jobs ] N", "--level 0-9", "--source-window MIB", "-q [ --quiet ]", "-h [ --help ]"}) {
    EXPECT_NE(run.output.find(option), std::string::npos) << option << " missing from\n" << run.output;
  }
}

TEST(QuarnelPackCliTest, ExitCodesTellUsageErrorsFromFailures) {
  testing_support::TempFolder temp;
  const PackRun usage = RunPack(temp, L"--old a --new b --from 1");
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.errors.find("'--to' is required"), std::string::npos) << usage.errors;

  const PackRun failure = RunPack(temp, L"--old a --new b --from 1 --to 1");
  EXPECT_EQ(failure.exitCode, 1);
  EXPECT_NE(failure.errors.find("quarnel-pack: error: the two versions are both \"1\""), std::string::npos)
      << failure.errors;
}

}  // namespace
