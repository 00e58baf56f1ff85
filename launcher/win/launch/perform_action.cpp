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

std::optional<HWND> open_window_of(const CatalogEntry& entry) {
    SystemWindowQueries queries;
    const std::optional<WindowHandle> window = find_open_window(entry, queries);
    if (!window) {
        return std::nullopt;
    }
    return to_hwnd(*window);
}

void start_entry(const CatalogEntry& entry, const std::string& parameters) {
    const std::int64_t result = run_shell(parameters);
    // A refusal (32 or less) is only logged: no message, no retry.
    write_log(system_platform(), launch_log_message(entry.key, entry.target.path, result));
}

// Starts what the plan asks of the shell: the entry, or Explorer on its file.
void start_through_shell(const LaunchRequest& request, const LaunchPlan& plan) {
    if (plan.step == LaunchPlan::Step::ShowInFolder) {
        run_shell(plan.parameters);
    } else {
        start_entry(request.entry, plan.parameters);
    }
}

void carry_out(HWND hwnd, const LaunchRequest& request) {
    const LaunchPlan plan = plan_launch(request);
    const std::optional<HWND> open_window =
        plan.step == LaunchPlan::Step::FocusOrStart ? open_window_of(request.entry) : std::nullopt;
    switch (foreground_handoff(plan, open_window.has_value())) {
        case ForegroundHandoff::HideFirst:
            hide_popup(hwnd);
            run_command(hwnd, plan.command);
            return;
        case ForegroundHandoff::WindowBeforeHide:
            if (open_window) {
                bring_window_forward(*open_window);
                write_log(system_platform(), already_open_log_message(request.entry.key));
            } else {
                run_command(hwnd, plan.command);
            }
            hide_popup(hwnd);
            return;
        case ForegroundHandoff::AllowThenStart:
            // The right passes on only while the popup still has the foreground.
            AllowSetForegroundWindow(ASFW_ANY);
            hide_popup(hwnd);
            start_through_shell(request, plan);
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

void perform_action(HWND hwnd, PopupAction action) {
    if (action.kind == PopupAction::Kind::None) {
        return;
    }
    if (action.kind != PopupAction::Kind::Launch || !action.request) {
        hide_popup(hwnd);
        return;
    }
    refresh_stats_window();  // the launch was just recorded
    carry_out(hwnd, *action.request);
}

}  // namespace talvo::win
