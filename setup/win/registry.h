// The setup's registry places under HKEY_CURRENT_USER: the uninstall entry and
// the Run value that starts the launcher at log-on.
#pragma once

#include <string>

#include "setup/core/paths.h"
#include "setup/core/result.h"

namespace talvo::setup::win {

// The entry's ten values in order, stopping at the first failure. The size
// counts the launcher and the uninstaller file as it now is.
StepResult write_uninstall_entry(const InstallPaths& paths);
StepResult set_run_value(const std::string& launcher_path);

// Results ignored by the callers.
void delete_run_value();
void delete_uninstall_entry();

}  // namespace talvo::setup::win
