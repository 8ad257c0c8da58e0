// Throughput of FileCrc32 on a file in the page cache, beside the byte-at-a-time table
// loop and a plain read of the same file. Usage: crc_throughput [MiB] [runs]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "engine/crc32.h"
#include "platform/input_file.h"
#include "platform/text_encoding.h"

namespace {

constexpr std::size_t kBlock = 1 << 20;

std::uint32_t TableLoopCrc(const std::wstring& path) {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  auto file = platform::InputFile::Open(path);
  std::vector<unsigned char> buffer(kBlock);
  std::uint32_t crc = kCrc32Initial;
  while (const std::size_t got = file->Read(buffer.data(), buffer.size()))
    for (std::size_t i = 0; i < got; ++i) crc = (crc >> 8) ^ table[(crc ^ buffer[i]) & 0xFF];
  return crc;
}

std::uint32_t PlainRead(const std::wstring& path) {
  auto file = platform::InputFile::Open(path);
  std::vector<unsigned char> buffer(kBlock);
  std::uint32_t sink = 0;
  while (const std::size_t got = file->Read(buffer.data(), buffer.size())) sink += buffer[got - 1];
  return sink;
}

double MedianSeconds(const std::function<std::uint32_t()>& work, int runs) {
  std::vector<double> seconds;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    volatile std::uint32_t result = work();
    (void)result;
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  namespace fs = boost::filesystem;
  const fs::path file = fs::temp_directory_path() / fs::unique_path("crc-bench-%%%%%%.bin");
  {
    std::ofstream out(file.string(), std::ios::binary);
    std::mt19937_64 random(1);
    std::vector<std::uint64_t> block(kBlock / 8);
    for (std::size_t i = 0; i < mib; ++i) {
      for (auto& word : block) word = random();
      out.write(reinterpret_cast<const char*>(block.data()), kBlock);
    }
  }
  const std::wstring path = platform::FromUtf8Lossy(file.string());
  PlainRead(path);  // into the page cache

  const double bytes = static_cast<double>(mib) * kBlock;
  const double read = MedianSeconds([&] { return PlainRead(path); }, runs);
  const double fast = MedianSeconds([&] { return FileCrc32(path); }, runs);
  const std::string catCommand = "cat '" + file.string() + "' > /dev/null";
  const double cat = MedianSeconds([&] { return static_cast<std::uint32_t>(std::system(catCommand.c_str())); }, runs);
  const double table = MedianSeconds([&] { return TableLoopCrc(path); }, std::min(runs, 3));
  std::printf("file: %zu MiB in the page cache, median of %d runs\n", mib, runs);
  std::printf("plain read       %6.2f GB/s  %.3f s\n", bytes / read / 1e9, read);
  std::printf("cat >/dev/null   %6.2f GB/s  %.3f s\n", bytes / cat / 1e9, cat);
  std::printf("FileCrc32        %6.2f GB/s  %.3f s  (%.2fx the read time, %.2fx cat)\n", bytes / fast / 1e9, fast, fast / read, fast / cat);
  std::printf("table loop       %6.2f GB/s  %.3f s  (FileCrc32 is %.1fx faster)\n", bytes / table / 1e9, table, table / fast);
  std::printf("check: %s\n", FileCrc32(path) == TableLoopCrc(path) ? "same CRC" : "CRC MISMATCH");
  fs::remove(file);
  return 0;
}
