// The cmd.exe command that removes the install folder once the uninstaller has ended.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvo::setup {

// The arguments after "cmd.exe": "/d" (no AutoRun commands of the user),
// "/v:off" (a "!" in the path stays as it is), about two seconds of pings by
// System32's ping.exe named in full (a missing "ping" on the path would let
// the removal run at once, while the uninstaller still runs), then the folder
// removed with everything in it, its path between double quotes as it stands.
//
// Nothing for an install folder holding '%' or '"': cmd.exe expands %NAME%
// even inside double quotes and a quote would end the path early, so the
// removal could reach another folder. Nothing either for a relative path,
// which cmd.exe, started in the temporary folder, would resolve elsewhere, nor
// for a system folder that is not a plain absolute path, which cannot be
// written unquoted. Such a folder is left in place.
std::optional<std::string> removal_command_tail(std::string_view install_folder,
                                                std::string_view system_folder);

}  // namespace talvo::setup
