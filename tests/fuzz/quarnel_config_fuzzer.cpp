// Quarnel.cfg beside the installer, read into the installer's text set.
#include "config/quarnel_config.h"
#include "config/text_sets.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::FuzzGame& game = fuzzing::FuzzGame::Instance();
  game.Write(game.Layout().QuarnelConfigPath(), data, size);
  TextTree tree;
  if (LoadQuarnelConfig(tree)) {
    QuarnelConfig().swap(tree);
    FormatText(QuarnelText(L"NotMatch"), L"Patch_1-2.exe");
    FormatText(QuarnelText(L"Installing_Check"), 1, 2);
  }
  return 0;
}
