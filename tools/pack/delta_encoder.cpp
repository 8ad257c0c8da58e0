#include "delta_encoder.h"

#include "pack_error.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "tool_failure.h"

DeltaEncoder::DeltaEncoder() : program_(platform::FindProgram(L"xdelta3")) {
  if (program_.empty()) {
    throw PackError("xdelta3 was found neither beside quarnel-pack nor on PATH (Debian: apt-get install xdelta3)");
  }
}

void DeltaEncoder::Encode(const std::wstring& source, const std::wstring& target,
                          const std::wstring& delta) const {
  const std::optional<int> exitCode = platform::System().RunProgram(
      program_, {L"-e", L"-D", L"-S", L"none", L"-s", NativeArgument(source), NativeArgument(target), NativeArgument(delta)}, L"/");
  if (exitCode != 0) {
    throw PackError("xdelta3 could not make the delta of \"" + platform::NativePath(target) + "\" (" +
                    ToolFailure(exitCode) + ")");
  }
}
