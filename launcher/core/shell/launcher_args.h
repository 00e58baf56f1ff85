// The launcher's command-line switches and its start-up log message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvo {

struct LauncherSwitches {
    bool diag_focus = false;     // --diag-focus: diagnostic listing, then exit
    bool preview_stats = false;  // --preview-stats: the statistics window alone
    bool hidden = false;         // --hidden: start without showing the popup
};

// Exact, case-sensitive matches of whole arguments, in any position (the
// program path included); other arguments are ignored.
LauncherSwitches parse_switches(const std::vector<std::string>& arguments);

// `["--hidden", "x"]`: each argument in double quotes with backslash and
// double quote escaped, separated by ", ".
std::string quoted_argument_list(const std::vector<std::string>& arguments);

// "démarrage <path> [<arguments>] (dans un job : true|false)"
std::string startup_message(std::string_view executable_path,
                            const std::vector<std::string>& arguments_after_program, bool in_job);

}  // namespace talvo
