#include "progress_meter.h"

#include <boost/format.hpp>
#include <chrono>
#include <iostream>

ProgressMeter::ProgressMeter(std::string label, std::uint64_t totalFiles, std::uint64_t totalBytes, bool visible)
    : label_(std::move(label)), totalFiles_(totalFiles), totalBytes_(totalBytes) {
  if (!visible) return;
  drawer_ = std::jthread([this](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    while (!wake.wait_for(lock, stop, std::chrono::milliseconds(250), [&stop] { return stop.stop_requested(); })) {
      Draw();
    }
    Draw();
    std::cerr << '\n';
  });
}

void ProgressMeter::FileDone(std::uint64_t bytes) {
  bytes_ += bytes;
  ++files_;
}

void ProgressMeter::Draw() const {
  std::cerr << '\r' << label_ << ": " << files_.load() << " of " << totalFiles_ << " files, "
            << ByteCount(bytes_.load()) << " of " << ByteCount(totalBytes_) << "\x1b[K" << std::flush;
}

std::string ByteCount(std::uint64_t bytes) {
  static const char* const kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
  double value = static_cast<double>(bytes);
  std::size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  if (unit == 0) return std::to_string(bytes) + " bytes";
  return (boost::format("%.1f %s") % value % kUnits[unit]).str();
}
