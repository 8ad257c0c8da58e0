#include "config/quarnel_config.h"

#include "engine/game_folders.h"
#include "platform/path.h"

TextTree& QuarnelConfig() {
  static TextTree tree;
  return tree;
}

bool LoadQuarnelConfig(TextTree& tree) {
  return ReadXmlTreeFile(platform::JoinPath(ProgramFolder(), L"Quarnel.cfg"), tree);
}
