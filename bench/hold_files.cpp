// Cost of the check phase's exclusive holds: taking and releasing N holds (write lease and
// flock), and the /proc scan that replaces the lease where leases are refused.
// Usage: hold_files [files] [scans]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "platform/exclusive_file.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

namespace {

namespace fs = boost::filesystem;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::size_t ProcessCount() {
  std::size_t count = 0;
  for (fs::directory_iterator entry("/proc"), end; entry != end; ++entry) {
    const std::string name = entry->path().filename().string();
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) ++count;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int scans = argc > 2 ? std::atoi(argv[2]) : 200;
  platform::RaiseOpenFileLimit();
  const fs::path folder = fs::temp_directory_path() / fs::unique_path("quarnel-hold-bench-%%%%-%%%%");
  fs::create_directories(folder);
  std::vector<std::wstring> paths;
  for (int i = 0; i < files; ++i) {
    const fs::path path = folder / ("file " + std::to_string(i) + ".dat");
    std::ofstream(path.string()) << "content " << i;
    paths.push_back(platform::FromUtf8Lossy(path.string()));
  }

  std::vector<platform::ExclusiveFile> held;
  held.reserve(paths.size());
  auto start = Clock::now();
  for (const std::wstring& path : paths) held.emplace_back(path);
  const double holdMs = MillisecondsSince(start);
  std::size_t refused = 0;
  for (const auto& file : held) refused += file.IsHeld() ? 0 : 1;
  start = Clock::now();
  held.clear();
  const double releaseMs = MillisecondsSince(start);

  start = Clock::now();
  std::size_t open = 0;
  for (int i = 0; i < scans; ++i) open += platform::OtherProcessHasOpen(paths[i % paths.size()]) ? 1 : 0;
  const double scanMs = MillisecondsSince(start);

  std::printf("holds:   %d files, %.1f ms to hold (%.1f us each, %zu refused), %.1f ms to release\n", files, holdMs,
              1000 * holdMs / files, refused, releaseMs);
  std::printf("/proc:   %d scans over %zu processes, %.3f ms each (%zu found open)\n", scans, ProcessCount(),
              scanMs / scans, open);
  fs::remove_all(folder);
  return refused == 0 ? 0 : 1;
}
