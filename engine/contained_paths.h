#pragma once
// Symbolic links must not lead an update out of the game folder: 7-Zip restores the links
// an archive stores, and a game folder may hold links of its own. Checked once the
// package is unpacked, before any file is held or changed.
#include "engine/entry_paths.h"
#include "engine/patch_index.h"

// Whether no package file of the index (an added file or a delta) is a symbolic link or
// lies under one below the program folder, and every game file of the index, links
// followed, lies inside the game root.
bool EntriesStayInside(const PatchIndex& index, const UpdateFolders& folders);
