#include "engine/crc32.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

// The system's CRC written out from its definition, byte by byte.
std::uint32_t TableCrc(const std::string& bytes) {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  std::uint32_t crc = 0xABCDEF12u;
  for (unsigned char b : bytes) crc = (crc >> 8) ^ table[(crc ^ b) & 0xFF];
  return crc;
}

TEST(FileCrc32, KnownValues) {
  TempFolder folder;
  WriteFile(folder / L"empty", "");
  WriteFile(folder / L"abc", "abc");
  EXPECT_EQ(FileCrc32(folder / L"empty"), 0xABCDEF12u);
  EXPECT_EQ(FileCrc32(folder / L"abc"), 0xE9F4BE4Bu);
}

TEST(FileCrc32, AgreesWithTheTableDefinitionOnRandomData) {
  TempFolder folder;
  std::mt19937 random(7);
  // Odd lengths, and lengths around the read block, so every tail is folded.
  for (std::size_t length : {1u, 3u, 4095u, 4097u, 65537u, (1u << 20) - 1, (1u << 20) + 3, 3u * (1u << 20) + 17}) {
    std::string bytes(length, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    WriteFile(folder / L"data", bytes);
    EXPECT_EQ(FileCrc32(folder / L"data"), TableCrc(bytes)) << "length " << length;
  }
}

TEST(FileCrc32, LargeFilesSplitAcrossCoresGiveTheSameCrc) {
  TempFolder folder;
  std::mt19937 random(11);
  std::string bytes((std::size_t{70} << 20) + 13, '\0');
  for (std::size_t i = 0; i < bytes.size(); i += 97) bytes[i] = static_cast<char>(random());
  WriteFile(folder / L"large", bytes);
  EXPECT_EQ(FileCrc32(folder / L"large"), TableCrc(bytes));
}

TEST(FileCrc32, UnreadablePathsGiveZero) {
  TempFolder folder;
  EXPECT_EQ(FileCrc32(folder / L"missing"), 0u);
  EXPECT_EQ(FileCrc32(folder.Path()), 0u);
}

TEST(Crc32Update, ChainsAcrossBlocks) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const std::uint32_t whole = Crc32Update(kCrc32Initial, text.data(), text.size());
  const std::uint32_t first = Crc32Update(kCrc32Initial, text.data(), 10);
  EXPECT_EQ(Crc32Update(first, text.data() + 10, text.size() - 10), whole);
  EXPECT_EQ(whole, TableCrc(text));
}

}  // namespace
