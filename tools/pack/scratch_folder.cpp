#include "scratch_folder.h"

#include <boost/filesystem.hpp>

#include "pack_error.h"
#include "platform/path.h"
#include "platform/text_encoding.h"

namespace fs = boost::filesystem;

ScratchFolder::ScratchFolder(const std::wstring& parent) {
  const fs::path folder = fs::path(platform::NativePath(parent)) / fs::unique_path(".quarnel-pack-%%%%%%%%");
  boost::system::error_code error;
  if (!fs::create_directory(folder, error)) {
    throw PackError("cannot write in \"" + platform::NativePath(parent) + "\": " + error.message());
  }
  path_ = platform::FromUtf8Lossy(folder.string());
}

ScratchFolder::~ScratchFolder() {
  boost::system::error_code ignored;
  fs::remove_all(platform::NativePath(path_), ignored);
}
