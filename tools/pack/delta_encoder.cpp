#include "delta_encoder.h"

#include <algorithm>
#include <vector>

#include "pack_error.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "tool_failure.h"

namespace {

constexpr std::uint64_t kDefaultSourceWindow = std::uint64_t{64} << 20;

}  // namespace

DeltaEncoder::DeltaEncoder(std::uint64_t sourceWindowLimit)
    : program_(platform::FindProgram(L"xdelta3")), sourceWindowLimit_(sourceWindowLimit) {
  if (program_.empty()) {
    throw PackError("xdelta3 was found neither beside quarnel-pack nor on PATH (Debian: apt-get install xdelta3)");
  }
}

void DeltaEncoder::Encode(const std::wstring& source, std::uint64_t sourceSize, const std::wstring& target,
                          const std::wstring& delta) const {
  std::vector<std::wstring> args{L"-e", L"-D", L"-S", L"none"};
  if (sourceSize > kDefaultSourceWindow) {
    args.insert(args.end(), {L"-B", std::to_wstring(std::max(kDefaultSourceWindow, std::min(sourceSize, sourceWindowLimit_)))});
  }
  args.insert(args.end(), {L"-s", platform::WithNativeSeparators(source), platform::WithNativeSeparators(target), platform::WithNativeSeparators(delta)});
  const std::optional<int> exitCode = platform::System().RunProgram(program_, args, L"/");
  if (exitCode != 0) {
    throw PackError("xdelta3 could not make the delta of \"" + platform::NativePath(target) + "\" (" +
                    ToolFailure(exitCode) + ")");
  }
}
