#include "tool_process.h"

#include <boost/process.hpp>
#include <fstream>
#include <iterator>

#include "platform/path.h"

namespace bp = boost::process;

namespace {

std::string ReadAndRemove(const std::string& path) {
  std::string text;
  {
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::remove(path.c_str());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

ToolOutcome RunTool(const std::wstring& program, const std::vector<std::wstring>& args,
                    const std::wstring& workingFolder, const std::wstring& errorLog) {
  std::vector<std::string> nativeArgs;
  for (const std::wstring& arg : args) nativeArgs.push_back(platform::NativePath(arg));
  const std::string logPath = platform::NativePath(errorLog);
  bp::environment environment = boost::this_process::environment();
  environment["LC_ALL"] = "C.UTF-8";

  ToolOutcome outcome;
  try {
    bp::child child(bp::exe = platform::NativePath(program), bp::args = nativeArgs,
                    bp::start_dir = platform::NativePath(workingFolder), bp::env = environment,
                    bp::std_in < bp::null, bp::std_out > bp::null, bp::std_err > logPath);
    child.wait();
    outcome.started = true;
    outcome.exitCode = child.exit_code();
  } catch (const bp::process_error& error) {
    outcome.errorOutput = error.what();
    return outcome;
  }
  outcome.errorOutput = ReadAndRemove(logPath);
  return outcome;
}
