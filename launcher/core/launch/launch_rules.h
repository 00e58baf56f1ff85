// What carrying out a chosen entry means, decided without the system: which
// of the launcher's commands to run, whether to look for an open window
// first, what to hand to the shell, and the log lines that record it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/launch/launch.h"

namespace talvo {

// Every program and folder is started by asking the shell to run this file
// with the entry's launch text as its parameters.
inline constexpr std::string_view kShellFile = "explorer.exe";

struct LaunchPlan {
    enum class Step : std::uint8_t {
        RunCommand,    // one of the launcher's own commands
        FocusOrStart,  // bring an open window of the entry forward, else start it
        ShowInFolder,  // open Explorer on the entry's file, selected
        Start,         // start the entry
    };

    Step step = Step::Start;
    BuiltinCommand command = BuiltinCommand::Quit;  // Step::RunCommand only
    std::string parameters;                         // for the shell; every step but RunCommand
};

// The plan for a request: commands run; Normal looks for a window first and
// otherwise starts with `parameters`; ShowInFolder needs an exe_path, and
// without one starts instead.
LaunchPlan plan_launch(const LaunchRequest& request);

// The order that lets the chosen entry's window come to the front. Windows lets
// a process bring a window forward only while it is the foreground process or
// received the last input, and hiding the active popup hands the foreground to
// another program: what shows a window runs while the popup is still active.
enum class ForegroundHandoff : std::uint8_t {
    HideFirst,         // nothing comes forward (quit, start with Windows): hide, then act
    WindowBeforeHide,  // bring the open window, or open the statistics, then hide; the window
                       // whose menu opens comes forward, the popup hides, then the menu opens
    AllowThenStart,    // let any process come forward, hide, then start through the shell
};

// The handoff for a plan; `open_window_found` tells whether FocusOrStart found a window.
ForegroundHandoff foreground_handoff(const LaunchPlan& plan, bool open_window_found);

// Empty for "explorer.exe" in any ASCII case (a plain Explorer window);
// otherwise the launch text between double quotes.
std::string start_parameters(std::string_view launch_text);

// "/select," followed by the path between double quotes.
std::string show_in_folder_parameters(std::string_view path);

// "lancement {key} → {text} (ShellExecute = {result})", the result signed;
// the parts before and after the result, for a line written once it is known.
std::string launch_log_message(std::string_view key, std::string_view launch_text,
                               std::int64_t shell_result);
std::string launch_log_start(std::string_view key, std::string_view launch_text);
std::string launch_log_end();

// "déjà ouvert : {key} → fenêtre ramenée au premier plan"
std::string already_open_log_message(std::string_view key);

// Whether two texts are equal when ASCII letters are compared without case.
bool equals_ignoring_ascii_case(std::string_view a, std::string_view b);

}  // namespace talvo
