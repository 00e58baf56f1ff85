// The setup's places on this machine, found through the user's environment.
#pragma once

#include <optional>
#include <string>

#include "setup/core/paths.h"
#include "setup/core/result.h"

namespace talvo::setup::win {

// LOCALAPPDATA\Programs\Talvo and the two programs in it.
Result<InstallPaths> install_folder();
// APPDATA\Microsoft\Windows\Start Menu\Programs\Talvo.lnk
Result<std::string> shortcut_path();
// APPDATA\Talvo
Result<std::string> data_folder();

// The path of this running program; nothing when the system cannot tell, with
// the reason left in GetLastError.
std::optional<std::string> running_program_path();

}  // namespace talvo::setup::win
