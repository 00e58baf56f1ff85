#include "win/launch/perform_action.h"

#include <shellapi.h>

#include "core/launch/launch_rules.h"
#include "core/shell/diagnostic_log.h"
#include "win/launch/window_queries.h"
#include "win/platform/text_win.h"
#include "win/popup/popup_visibility.h"
#include "win/shell/autostart.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

void run_command(HWND hwnd, BuiltinCommand command) {
    switch (command) {
        case BuiltinCommand::Quit:
            DestroyWindow(hwnd);  // the window's end ends the launcher
            return;
        case BuiltinCommand::Autostart:
            toggle_autostart();
            return;
        case BuiltinCommand::Stats:
            open_stats_window();
            return;
    }
}

// True when an open window of the entry was brought forward instead.
bool focus_open_window(const CatalogEntry& entry) {
    SystemWindowQueries queries;
    const std::optional<WindowHandle> window = find_open_window(entry, queries);
    if (!window) {
        return false;
    }
    bring_window_forward(to_hwnd(*window));
    write_log(system_platform(), already_open_log_message(entry.key));
    return true;
}

void start_entry(const CatalogEntry& entry, const std::string& parameters) {
    const std::int64_t result = run_shell(parameters);
    // A refusal (32 or less) is only logged: no message, no retry.
    write_log(system_platform(), launch_log_message(entry.key, entry.target.path, result));
}

void carry_out(HWND hwnd, const LaunchRequest& request) {
    const LaunchPlan plan = plan_launch(request);
    switch (plan.step) {
        case LaunchPlan::Step::RunCommand:
            run_command(hwnd, plan.command);
            return;
        case LaunchPlan::Step::FocusOrStart:
            if (!focus_open_window(request.entry)) {
                start_entry(request.entry, plan.parameters);
            }
            return;
        case LaunchPlan::Step::ShowInFolder:
            run_shell(plan.parameters);
            return;
        case LaunchPlan::Step::Start:
            start_entry(request.entry, plan.parameters);
            return;
    }
}

}  // namespace

void bring_window_forward(HWND window) {
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    if (!SetForegroundWindow(window)) {
        SwitchToThisWindow(window, TRUE);
    }
}

std::int64_t run_shell(const std::string& parameters) {
    const std::wstring file = widen(kShellFile);
    const std::wstring wide_parameters = widen(parameters);
    const HINSTANCE result = ShellExecuteW(nullptr, nullptr, file.c_str(), wide_parameters.c_str(),
                                           nullptr, SW_SHOWNORMAL);
    return static_cast<std::int64_t>(reinterpret_cast<INT_PTR>(result));
}

void perform_action(HWND hwnd, PopupAction action) {
    if (action.kind == PopupAction::Kind::None) {
        return;
    }
    hide_popup(hwnd);
    if (action.kind != PopupAction::Kind::Launch || !action.request) {
        return;
    }
    refresh_stats_window();  // the launch was just recorded
    carry_out(hwnd, *action.request);
}

}  // namespace talvo::win
