#include "engine/crc32.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <future>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "platform/background_task.h"
#include "platform/input_file.h"

namespace {

// The system's CRC is zlib's CRC-32 with the pre- and post-inversion folded into the
// running value: starting zlib's function at ~crc and inverting its result gives the
// plain table recurrence with no final XOR.
constexpr std::size_t kReadBlock = 1 << 20;
// Below this a file is not worth splitting across cores.
constexpr std::int64_t kSplitThreshold = std::int64_t{64} << 20;

// The kernel copies file data into a page-aligned buffer about a fifth faster than into
// one at malloc's usual 16-byte offset.
constexpr std::align_val_t kBufferAlignment{4096};

struct AlignedBufferDelete {
  void operator()(unsigned char* buffer) const { ::operator delete[](buffer, kBufferAlignment); }
};

// zlib-form CRC (initial value and final inversion of zlib) of length bytes from offset.
std::uint32_t ZlibCrcOfRange(platform::InputFile& file, std::uint32_t zlibCrc, std::int64_t offset,
                             std::int64_t length) {
  const std::unique_ptr<unsigned char[], AlignedBufferDelete> buffer(
      static_cast<unsigned char*>(::operator new[](kReadBlock, kBufferAlignment)));
  while (length > 0) {
    const auto want = static_cast<std::size_t>(std::min<std::int64_t>(length, kReadBlock));
    const std::size_t got = file.ReadAt(buffer.get(), want, offset);
    if (got == 0) break;
    zlibCrc = libdeflate_crc32(zlibCrc, buffer.get(), got);
    offset += static_cast<std::int64_t>(got);
    length -= static_cast<std::int64_t>(got);
  }
  return zlibCrc;
}

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t length) {
  return ~libdeflate_crc32(~crc, data, length);
}

std::uint32_t FileCrc32(const std::wstring& path) {
  auto file = platform::InputFile::Open(path);
  if (!file) return 0;
  const std::int64_t size = file->Size();
  const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  if (size < kSplitThreshold || cores == 1) return ~ZlibCrcOfRange(*file, ~kCrc32Initial, 0, size);

  // One slice per core, joined with zlib's combine: crc(A||B) = shift(crc(A), |B|) ^ crc0(B).
  const std::int64_t slice = size / cores;
  std::vector<std::future<std::uint32_t>> tails;
  for (unsigned i = 1; i < cores; ++i) {
    const std::int64_t offset = slice * i;
    const std::int64_t length = i + 1 == cores ? size - offset : slice;
    tails.push_back(platform::StartInBackground(
        [&file, offset, length] { return ZlibCrcOfRange(*file, 0, offset, length); }));
  }
  uLong crc = ZlibCrcOfRange(*file, ~kCrc32Initial, 0, slice);
  for (unsigned i = 1; i < cores; ++i) {
    const std::int64_t length = i + 1 == cores ? size - slice * i : slice;
    crc = crc32_combine64(crc, tails[i - 1].get(), length);
  }
  return ~static_cast<std::uint32_t>(crc);
}
