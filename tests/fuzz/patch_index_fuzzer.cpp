// The index of an unpacked package. Besides not crashing, an index that reads must name
// only paths that stay inside the folder they are joined to.
#include <boost/filesystem/path.hpp>
#include <cstdlib>

#include "engine/patch_index.h"
#include "fuzz/fuzz_input.h"
#include "platform/path.h"

namespace {

// Joined as the worker joins it; the folder itself counts as inside.
bool StaysInside(const std::wstring& relative) {
  const std::string folder = "/game/root";
  const std::string joined =
      boost::filesystem::path(platform::NativePath(platform::JoinPath(L"/game/root", relative)))
          .lexically_normal()
          .string();
  return joined == folder || joined.starts_with(folder + "/");
}

void CheckContained(const std::vector<PatchEntry>& entries) {
  for (const PatchEntry& entry : entries) {
    if (!StaysInside(entry.SrcFile)) std::abort();
    if (entry.kind == Patched && !StaysInside(entry.PatchFile)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::FuzzGame& game = fuzzing::FuzzGame::Instance();
  const std::wstring path = game.Layout().InstallerFolder() + L"/index-under-test.xml";
  game.Write(path, data, size);
  PatchIndex index;
  if (ParsePatchIndex(index, path)) {
    CheckContained(index.AddedFiles);
    CheckContained(index.DeletedFiles);
    CheckContained(index.PatchFiles);
  }
  return 0;
}
