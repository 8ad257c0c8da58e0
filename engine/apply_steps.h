#pragma once
// The apply phase of an update, one step per entry. Each releases the files it uses just
// before it uses them, retries copies and delta runs with growing pauses, and answers
// false after showing its message.
#include "engine/entry_paths.h"
#include "engine/held_files.h"
#include "engine/patch_index.h"

// Copies the package file over the game file.
bool ApplyAddedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry);
// Deletes the game file when it exists; a refused deletion is not a failure.
bool ApplyDeletedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry);
// Rebuilds the game file from its delta into the staging file, then copies that over the
// game file, which is therefore only ever replaced by a complete rebuilt file.
bool ApplyPatchedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry);
