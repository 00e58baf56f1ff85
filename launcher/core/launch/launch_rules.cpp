#include "core/launch/launch_rules.h"

namespace talvo {
namespace {

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

}  // namespace

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string start_parameters(std::string_view launch_text) {
    if (equals_ignoring_ascii_case(launch_text, kShellFile)) {
        return {};
    }
    return quoted(launch_text);
}

std::string show_in_folder_parameters(std::string_view path) {
    return "/select," + quoted(path);
}

LaunchPlan plan_launch(const LaunchRequest& request) {
    const LaunchTarget& target = request.entry.target;
    if (target.kind == LaunchTarget::Kind::Command) {
        return {LaunchPlan::Step::RunCommand, target.command, {}};
    }
    switch (request.mode) {
        case LaunchMode::Normal:
            return {LaunchPlan::Step::FocusOrStart, {}, start_parameters(target.path)};
        case LaunchMode::ShowInFolder:
            if (request.entry.exe_path) {
                return {LaunchPlan::Step::ShowInFolder,
                        {},
                        show_in_folder_parameters(*request.entry.exe_path)};
            }
            break;  // nothing to show: start it instead
        case LaunchMode::NewInstance:
            break;
    }
    return {LaunchPlan::Step::Start, {}, start_parameters(target.path)};
}

ForegroundHandoff foreground_handoff(const LaunchPlan& plan, bool open_window_found) {
    switch (plan.step) {
        case LaunchPlan::Step::RunCommand:
            return plan.command == BuiltinCommand::Stats ||
                           plan.command == BuiltinCommand::WindowMenu
                       ? ForegroundHandoff::WindowBeforeHide
                       : ForegroundHandoff::HideFirst;
        case LaunchPlan::Step::FocusOrStart:
            return open_window_found ? ForegroundHandoff::WindowBeforeHide
                                     : ForegroundHandoff::AllowThenStart;
        case LaunchPlan::Step::ShowInFolder:
        case LaunchPlan::Step::Start:
            return ForegroundHandoff::AllowThenStart;
    }
    return ForegroundHandoff::HideFirst;
}

std::string launch_log_start(std::string_view key, std::string_view launch_text) {
    std::string message = "lancement ";
    message.append(key);
    message.append(" → ");
    message.append(launch_text);
    message.append(" (ShellExecute = ");
    return message;
}

std::string launch_log_end() {
    return ")";
}

std::string launch_log_message(std::string_view key, std::string_view launch_text,
                               std::int64_t shell_result) {
    return launch_log_start(key, launch_text) + std::to_string(shell_result) + launch_log_end();
}

std::string already_open_log_message(std::string_view key) {
    std::string message = "déjà ouvert : ";
    message.append(key);
    message.append(" → fenêtre ramenée au premier plan");
    return message;
}

}  // namespace talvo
