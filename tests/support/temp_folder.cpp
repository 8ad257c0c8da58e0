#include "support/temp_folder.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/path.h"
#include "platform/text_encoding.h"

namespace testing_support {

namespace fs = boost::filesystem;

TempFolder::TempFolder() {
  const fs::path folder = fs::temp_directory_path() / fs::unique_path("quarnel-test-%%%%-%%%%-%%%%");
  fs::create_directories(folder);
  path_ = platform::FromUtf8Lossy(folder.string());
}

TempFolder::~TempFolder() {
  boost::system::error_code ignored;
  fs::remove_all(platform::NativePath(path_), ignored);
}

std::wstring TempFolder::operator/(const std::wstring& relative) const {
  return platform::JoinPath(path_, relative);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  const fs::path native(platform::NativePath(path));
  fs::create_directories(native.parent_path());
  std::ofstream out(native.string(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + native.string());
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(platform::NativePath(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + platform::NativePath(path));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::wstring& path) {
  boost::system::error_code error;
  return fs::exists(fs::symlink_status(platform::NativePath(path), error));
}

}  // namespace testing_support
