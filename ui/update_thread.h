#pragma once
// The worker thread: one detached thread per Install click.
#include <atomic>
#include <memory>

#include "config/patch_info.h"

class CUpdater;

// Runs updater.run on a detached thread with its own copy of patch. updateLaunched is
// cleared when the run ends without reporting anything. False when the system could not
// start a thread.
bool StartUpdateThread(CUpdater& updater, const PatchInfo& patch,
                       std::shared_ptr<std::atomic<bool>> updateLaunched);
