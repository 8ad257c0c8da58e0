// profile/Launcher.cfg under the game root, read with its back-up refreshed.
#include "config/launcher_config.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::FuzzGame& game = fuzzing::FuzzGame::Instance();
  game.Write(game.Layout().LauncherConfigPath(), data, size);
  LauncherConfig config;
  LoadLauncherConfig(config);
  return 0;
}
