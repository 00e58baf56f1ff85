// The processes the setup ends and starts.
#pragma once

#include <string>

#include "setup/core/paths.h"
#include "setup/core/result.h"

namespace talvo::setup::win {

// Stops every launcher of this log-on session, wherever it runs from (found by
// its window, or by its session while it has none): asks each to quit, gives
// them 2 s together, then terminates what still runs and may be ended, waiting
// at most 3 s for each. Failures are passed over: a launcher that stays holds
// its file, and the install then fails on it with the write's own text.
void stop_running_launchers();

// Starts the installed launcher with "--hidden" in the install folder, in the
// background, not waited for; an elevated setup has the desktop's shell start
// it with the person's normal rights, or starts nothing (see launcher_start).
StepResult start_launcher(const InstallPaths& paths);

// Has cmd.exe remove the install folder two seconds from now, after this
// program has ended. Nothing happens when cmd.exe cannot be started.
void schedule_folder_removal(const std::string& install_folder);

}  // namespace talvo::setup::win
