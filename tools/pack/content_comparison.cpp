#include "content_comparison.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "engine/crc32.h"
#include "pack_error.h"
#include "platform/path.h"

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

class BlockReader {
 public:
  explicit BlockReader(const std::wstring& path)
      : path_(platform::NativePath(path)), in_(path_, std::ios::binary), block_(kBlockSize) {
    if (!in_) throw PackError("cannot open \"" + path_ + "\" for reading");
  }

  // The next block; empty at the end of the file.
  std::size_t Next() {
    in_.read(block_.data(), static_cast<std::streamsize>(block_.size()));
    if (in_.bad() || (in_.fail() && !in_.eof())) throw PackError("cannot read \"" + path_ + "\"");
    return static_cast<std::size_t>(in_.gcount());
  }
  const char* Data() const { return block_.data(); }

 private:
  std::string path_;
  std::ifstream in_;
  std::vector<char> block_;
};

}  // namespace

std::uint32_t CheckedFileCrc32(const std::wstring& path) {
  BlockReader reader(path);
  std::uint32_t crc = kCrc32Initial;
  while (const std::size_t length = reader.Next()) crc = Crc32Update(crc, reader.Data(), length);
  return crc;
}

ContentComparison CompareContent(const std::wstring& oldPath, const std::wstring& newPath) {
  BlockReader oldFile(oldPath);
  std::optional<BlockReader> newFile(std::in_place, newPath);
  ContentComparison result{.identical = true, .oldCrc = kCrc32Initial};
  while (const std::size_t length = oldFile.Next()) {
    result.oldCrc = Crc32Update(result.oldCrc, oldFile.Data(), length);
    if (!result.identical) continue;
    const std::size_t newLength = newFile->Next();
    result.identical = newLength == length && std::memcmp(oldFile.Data(), newFile->Data(), length) == 0;
    if (!result.identical) newFile.reset();  // no need to read it further
  }
  if (result.identical) result.identical = newFile->Next() == 0;
  return result;
}
