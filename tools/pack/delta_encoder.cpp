#include "delta_encoder.h"

#include "pack_error.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "tool_process.h"

DeltaEncoder::DeltaEncoder() : program_(platform::FindProgram(L"xdelta3")) {
  if (program_.empty()) {
    throw PackError("xdelta3 was found neither beside quarnel-pack nor on PATH (Debian: apt-get install xdelta3)");
  }
}

void DeltaEncoder::Encode(const std::wstring& source, const std::wstring& target,
                          const std::wstring& delta, const std::wstring& errorLog) const {
  const ToolOutcome outcome =
      RunTool(program_, {L"-e", L"-D", L"-s", source, target, delta}, L".", errorLog);
  if (!outcome.Succeeded()) {
    throw PackError("xdelta3 could not make the delta of \"" + platform::NativePath(target) +
                    "\" (exit code " + std::to_string(outcome.exitCode) + "): " + outcome.errorOutput);
  }
}
