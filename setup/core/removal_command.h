// The cmd.exe command that removes the install folder once the uninstaller has ended.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvo::setup {

// The arguments after "cmd.exe": about two seconds of pings, then the folder
// removed with everything in it, its path between double quotes as it stands.
// Nothing for a path holding '%' or '"': cmd.exe expands %NAME% even inside
// double quotes and a quote would end the path early, so the removal could
// reach another folder. Nothing either for a relative path, which cmd.exe,
// started in the temporary folder, would resolve elsewhere. Such a folder is
// left in place.
std::optional<std::string> removal_command_tail(std::string_view install_folder);

}  // namespace talvo::setup
