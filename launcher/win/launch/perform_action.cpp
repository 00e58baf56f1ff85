#include "win/launch/perform_action.h"

#include <shellapi.h>

#include "core/launch/launch_rules.h"
#include "core/launch/launch_steps.h"
#include "core/shell/diagnostic_log.h"
#include "win/launch/window_queries.h"
#include "win/platform/text_win.h"
#include "win/popup/popup_window.h"
#include "win/shell/autostart.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

void run_command(PopupWindow& popup, StatsWindow& stats, BuiltinCommand command) {
    switch (command) {
        case BuiltinCommand::Quit:
            DestroyWindow(popup.hwnd());  // the window's end ends the launcher
            return;
        case BuiltinCommand::Autostart:
            toggle_autostart(popup.ui());
            return;
        case BuiltinCommand::Stats:
            stats.open();
            return;
        case BuiltinCommand::WindowMenu:
            return;  // carried out by its own steps
    }
}

void execute(PopupWindow& popup, StatsWindow& stats, const LaunchStep& step) {
    switch (step.kind) {
        case LaunchStep::Kind::HidePopup:
            popup.hide();
            return;
        case LaunchStep::Kind::RunCommand:
            run_command(popup, stats, step.command);
            return;
        case LaunchStep::Kind::BringForward:
            bring_window_forward(to_hwnd(step.window));
            return;
        case LaunchStep::Kind::AllowForeground:
            AllowSetForegroundWindow(ASFW_ANY);
            return;
        case LaunchStep::Kind::Shell: {
            const std::int64_t result = run_shell(step.text);
            // A refusal (32 or less) is only logged: no message, no retry.
            if (!step.log_before.empty()) {
                write_log(system_platform(),
                          step.log_before + std::to_string(result) + step.log_after);
            }
            return;
        }
        case LaunchStep::Kind::Log:
            write_log(system_platform(), step.text);
            return;
        case LaunchStep::Kind::WindowMenu:
            write_log(system_platform(), open_window_menu(to_hwnd(step.window))
                                             ? window_menu_log(step.text)
                                             : window_menu_refused_log(step.text));
            return;
    }
}

}  // namespace

void bring_window_forward(HWND window) {
    if (IsIconic(window)) {
        ShowWindowAsync(window, SW_RESTORE);  // a hung program must not stop the launcher
    }
    SetForegroundWindow(window);
}

std::int64_t run_shell(const std::string& parameters) {
    const std::wstring file = widen(kShellFile);
    const std::wstring wide_parameters = widen(parameters);
    const HINSTANCE result = ShellExecuteW(nullptr, nullptr, file.c_str(), wide_parameters.c_str(),
                                           nullptr, SW_SHOWNORMAL);
    return static_cast<std::int64_t>(reinterpret_cast<INT_PTR>(result));
}

void perform_action(PopupWindow& popup, StatsWindow& stats, PopupAction action) {
    if (action.kind == PopupAction::Kind::None) {
        return;
    }
    if (action.kind != PopupAction::Kind::Launch || !action.request) {
        popup.hide();
        return;
    }
    stats.refresh();  // the launch was just recorded
    const LaunchRequest& request = *action.request;
    SystemWindowQueries queries;
    for (const LaunchStep& step :
         launch_steps(request, plan_launch(request), queries, popup.front_window())) {
        execute(popup, stats, step);
    }
}

}  // namespace talvo::win
