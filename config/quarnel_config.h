#pragma once
// The installer's own configuration, Quarnel.cfg beside the executable: its text set
// lives under "Quarnel.TextSet".
#include "config/xml_tree_file.h"

// The process-wide tree, created empty on first use; filled once at start-up.
TextTree& QuarnelConfig();

// Reads ProgramFolder/Quarnel.cfg into tree. False (tree untouched) when the file is
// missing, unreadable, not valid UTF-8 or not well-formed XML.
bool LoadQuarnelConfig(TextTree& tree);
