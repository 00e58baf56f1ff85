// A launch as the Win32 layer carries it out: the plan of the request says
// whether an open window of the entry is looked for, and `launch_steps`
// completes it with the system's answer into the steps to execute, in the
// order that lets the chosen entry's window come to the front.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/launch/focus_rules.h"
#include "core/launch/launch_rules.h"

namespace talvo {

struct LaunchStep {
    enum class Kind : std::uint8_t {
        HidePopup,
        RunCommand,       // `command`, one of the launcher's own
        BringForward,     // `window`, restored when minimised
        AllowForeground,  // any process may take the foreground from the popup
        Shell,            // the shell runs kShellFile with `text` as its parameters
        Log,              // `text` goes to the diagnostic log
        WindowMenu,       // `window`'s menu opens as Alt+Space opens it; `text` is its title
    };

    Kind kind = Kind::Log;
    BuiltinCommand command = BuiltinCommand::Quit;
    WindowHandle window = 0;
    std::string text;
    // Shell only: when `log_before` is not empty, the log gets `log_before`,
    // the shell's result, then `log_after`.
    std::string log_before;
    std::string log_after;

    bool operator==(const LaunchStep&) const = default;
};

// Asks `system` for an open window only when the plan looks for one.
// `front_window` is the window that was in front when the popup showed (0 for
// none): the window-menu command opens its menu unless it has closed since.
std::vector<LaunchStep> launch_steps(const LaunchRequest& request, const LaunchPlan& plan,
                                     WindowQueries& system, WindowHandle front_window = 0);

}  // namespace talvo
