#include "core/launch/launch_steps.h"

#include <optional>

#include "core/launch/front_window.h"

namespace talvo {
namespace {

using Kind = LaunchStep::Kind;

LaunchStep step(Kind kind) {
    return LaunchStep{kind, BuiltinCommand::Quit, 0, {}, {}, {}};
}

LaunchStep command_step(BuiltinCommand command) {
    LaunchStep run = step(Kind::RunCommand);
    run.command = command;
    return run;
}

LaunchStep shell_step(const LaunchRequest& request, const LaunchPlan& plan) {
    LaunchStep shell = step(Kind::Shell);
    shell.text = plan.parameters;
    // Showing a file in its folder is not a launch of the entry: no line.
    if (plan.step != LaunchPlan::Step::ShowInFolder) {
        shell.log_before = launch_log_start(request.entry.key, request.entry.target.path);
        shell.log_after = launch_log_end();
    }
    return shell;
}

// The remembered window comes forward while the popup still has the
// foreground, so that its menu answers the keyboard once the popup hides.
std::vector<LaunchStep> window_menu_steps(WindowHandle front_window, WindowQueries& system) {
    // A window that has closed answers no class name.
    if (front_window == 0 || system.class_name(front_window).empty()) {
        LaunchStep log = step(Kind::Log);
        log.text = window_menu_none_log();
        return {step(Kind::HidePopup), log};
    }
    LaunchStep forward = step(Kind::BringForward);
    forward.window = front_window;
    LaunchStep menu = step(Kind::WindowMenu);
    menu.window = front_window;
    menu.text = system.title(front_window);
    return {forward, step(Kind::HidePopup), menu};
}

}  // namespace

std::vector<LaunchStep> launch_steps(const LaunchRequest& request, const LaunchPlan& plan,
                                     WindowQueries& system, WindowHandle front_window) {
    std::optional<WindowHandle> open_window;
    if (plan.step == LaunchPlan::Step::FocusOrStart) {
        open_window = find_open_window(request.entry, system);
    }
    switch (foreground_handoff(plan, open_window.has_value())) {
        case ForegroundHandoff::HideFirst:
            return {step(Kind::HidePopup), command_step(plan.command)};
        case ForegroundHandoff::WindowBeforeHide:
            if (open_window) {
                LaunchStep forward = step(Kind::BringForward);
                forward.window = *open_window;
                LaunchStep log = step(Kind::Log);
                log.text = already_open_log_message(request.entry.key);
                return {forward, log, step(Kind::HidePopup)};
            }
            if (plan.command == BuiltinCommand::WindowMenu) {
                return window_menu_steps(front_window, system);
            }
            return {command_step(plan.command), step(Kind::HidePopup)};
        case ForegroundHandoff::AllowThenStart:
            // The right passes on only while the popup still has the foreground.
            return {step(Kind::AllowForeground), step(Kind::HidePopup), shell_step(request, plan)};
    }
    return {};
}

}  // namespace talvo
