#pragma once
// Files and bytes done of a known total, redrawn on one terminal line a few times a
// second by a thread of its own, which draws the final figures and ends the line when
// the meter is destroyed. Workers report from any thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class ProgressMeter {
 public:
  // Draws nothing when visible is false (not a terminal, or asked to be quiet).
  ProgressMeter(std::string label, std::uint64_t totalFiles, std::uint64_t totalBytes, bool visible);
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void FileDone(std::uint64_t bytes);

 private:
  void Draw() const;

  std::string label_;
  std::uint64_t totalFiles_;
  std::uint64_t totalBytes_;
  std::atomic<std::uint64_t> files_{0};
  std::atomic<std::uint64_t> bytes_{0};
  std::jthread drawer_;
};

// 1536 -> "1.5 KiB".
std::string ByteCount(std::uint64_t bytes);
