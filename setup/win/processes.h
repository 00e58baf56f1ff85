// The processes the setup ends and starts.
#pragma once

#include <string>

#include "setup/core/result.h"

namespace talvo::setup::win {

// Ends every process whose image is named "talvo.exe", wherever it runs from,
// waiting at most 3 s for each. Failures are passed over.
void stop_running_launchers();

// Starts the launcher with "--hidden" in the background, not waited for.
StepResult start_launcher(const std::string& launcher_path);

// Has cmd.exe remove the install folder two seconds from now, after this
// program has ended. Nothing happens when cmd.exe cannot be started.
void schedule_folder_removal(const std::string& install_folder);

}  // namespace talvo::setup::win
