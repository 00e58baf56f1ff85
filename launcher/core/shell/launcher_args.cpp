#include "core/shell/launcher_args.h"
#include "core/shell/launcher_protocol.h"

namespace talvo {

LauncherSwitches parse_switches(const std::vector<std::string>& arguments) {
    LauncherSwitches switches;
    for (const std::string& argument : arguments) {
        switches.diag_focus |= argument == "--diag-focus";
        switches.preview_stats |= argument == "--preview-stats";
        switches.hidden |= argument == protocol::kHiddenSwitch;
    }
    return switches;
}

std::string quoted_argument_list(const std::vector<std::string>& arguments) {
    std::string text = "[";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += '"';
        for (const char c : arguments[i]) {
            if (c == '\\' || c == '"') {
                text += '\\';
            }
            text += c;
        }
        text += '"';
    }
    return text + "]";
}

std::string startup_message(std::string_view executable_path,
                            const std::vector<std::string>& arguments_after_program, bool in_job) {
    std::string text = "démarrage ";
    text += executable_path;
    text += ' ';
    text += quoted_argument_list(arguments_after_program);
    text += " (dans un job : ";
    text += in_job ? "true" : "false";
    text += ')';
    return text;
}

}  // namespace talvo
