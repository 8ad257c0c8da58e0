// index.xml beside the installer, read into the launcher manifest.
#include <cstdlib>

#include "config/launcher_manifest.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::FuzzGame& game = fuzzing::FuzzGame::Instance();
  game.Write(game.Layout().ManifestPath(), data, size);
  LoadManifest(game.Layout().ManifestPath());
  for (const PatchInfo& patch : LauncherManifest::Instance().clientPatches) {
    // Stored patches always carry both versions, and the first one of a version is found.
    if (patch.srcVersion.empty() || patch.destVersion.empty()) std::abort();
    if (FindClientPatch(patch.srcVersion).srcVersion != patch.srcVersion) std::abort();
    PackageFileName(patch);
  }
  return 0;
}
