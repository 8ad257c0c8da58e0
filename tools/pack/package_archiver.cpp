#include "package_archiver.h"

#include "pack_error.h"
#include "platform/path.h"
#include "platform/system.h"
#include "tool_failure.h"

PackageArchiver::PackageArchiver(int compressionLevel)
    : program_(platform::FindProgram(L"7z")), compressionLevel_(compressionLevel) {
  if (program_.empty()) {
    throw PackError("7z was found neither beside quarnel-pack nor on PATH (Debian: apt-get install p7zip-full)");
  }
}

void PackageArchiver::Pack(const std::wstring& parentFolder, const std::wstring& topFolder,
                           const std::wstring& archive) const {
  // -t7z: the archive type whatever the name. -mtm=off: no time stamps, so the same two
  // versions always give the same package, and the manifest's CRC stays. -bd: no
  // progress bar on the null device.
  const std::optional<int> exitCode = platform::System().RunProgram(
      program_,
      {L"a", L"-t7z", L"-mx=" + std::to_wstring(compressionLevel_), L"-mtm=off", L"-bd", L"-y", platform::WithNativeSeparators(archive),
       topFolder},
      parentFolder);
  if (exitCode != 0) {
    throw PackError("7z could not create \"" + platform::NativePath(archive) + "\" (" + ToolFailure(exitCode) + ")");
  }
}
