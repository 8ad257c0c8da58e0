#pragma once
// The check phase of an update, one step per entry: every file the entry will use is
// present where required, unchanged where it is to be patched, and held open. No game
// file is changed. Each answers false after showing its message.
#include "engine/entry_paths.h"
#include "engine/held_files.h"
#include "engine/patch_index.h"

bool CheckAddedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry);
bool CheckDeletedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry);
bool CheckPatchedEntry(HeldFiles& held, const UpdateFolders& folders, const PatchEntry& entry);

// Whether the game file of a patched entry is the one its delta expects; when it is
// missing or differs, shows the "Installing_PatchErr" message. A file this run already
// holds counts as changed, as it could not be read.
bool VerifyPatchSource(const HeldFiles& held, const std::wstring& gameFile, const PatchEntry& entry);
