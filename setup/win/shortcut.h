// The Start Menu shortcut to the installed launcher.
#pragma once

#include <string>

#include "setup/core/paths.h"
#include "setup/core/result.h"

namespace talvo::setup::win {

// Saves a shell link at `shortcut` that starts the launcher without arguments,
// in the install folder, with the launcher's icon. Needs COM on this thread.
StepResult create_shortcut(const std::string& shortcut, const InstallPaths& paths);

}  // namespace talvo::setup::win
