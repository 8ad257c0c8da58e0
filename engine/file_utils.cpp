#include "engine/file_utils.h"

#include <boost/filesystem.hpp>

#include "engine/crc32.h"
#include "platform/input_file.h"
#include "platform/path.h"
#include "platform/system.h"

namespace fs = boost::filesystem;

bool PathExists(const std::wstring& path) {
  boost::system::error_code error;
  return fs::exists(fs::status(platform::NativePath(path), error));
}

bool IsFolder(const std::wstring& path) {
  boost::system::error_code error;
  return fs::is_directory(fs::status(platform::NativePath(path), error));
}

std::int64_t FileLength(const std::wstring& path) {
  const auto file = platform::InputFile::Open(path);
  return file ? file->Size() : 0;
}

bool LengthMatches(std::int64_t length, std::uint32_t expected) {
  return length == static_cast<std::int64_t>(expected);
}

bool FileDiffers(const std::wstring& path, std::uint32_t expectedLength, std::uint32_t expectedCrc) {
  if (!PathExists(path)) return true;
  if (!LengthMatches(FileLength(path), expectedLength)) return true;
  return FileCrc32(path) != expectedCrc;
}

bool CopyFileReplacing(const std::wstring& source, const std::wstring& destination) {
  return platform::System().CopyFile(source, destination);
}

bool MoveFileReplacing(const std::wstring& source, const std::wstring& destination) {
  return platform::System().MoveFile(source, destination);
}

bool DeleteExistingFile(const std::wstring& path) {
  if (!PathExists(path)) return false;
  return platform::System().DeleteFile(path);
}

bool DeleteFolderTree(const std::wstring& path) {
  if (!IsFolder(path)) return false;
  return platform::System().DeleteTree(path);
}

void CreateParentFolders(const std::wstring& path) {
  // Every '/' is visited before any '\', as the folders of a mixed path are created in
  // that order; the last component is never created.
  auto next = [&path](std::size_t from) {
    const std::size_t slash = path.find(L'/', from);
    return slash != std::wstring::npos ? slash : path.find(L'\\', from);
  };
  for (std::size_t position = next(0); position != std::wstring::npos; position = next(position + 1)) {
    const std::wstring folder = path.substr(0, position);
    if (!folder.empty() && !PathExists(folder)) platform::System().CreateFolder(folder);
  }
}
