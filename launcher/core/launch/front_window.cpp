#include "core/launch/front_window.h"

#include <array>

namespace talvo {
namespace {

// The desktop behind the icons and the taskbars of every monitor.
constexpr std::array<std::string_view, 4> kShellClasses = {"Progman", "WorkerW", "Shell_TrayWnd",
                                                           "Shell_SecondaryTrayWnd"};

bool is_shell_class(std::string_view class_name) {
    for (const std::string_view shell : kShellClasses) {
        if (class_name == shell) {
            return true;
        }
    }
    return false;
}

constexpr std::string_view kWindowMenuLog = "menu de la fenêtre : ";

}  // namespace

bool qualifies_as_front_window(const WindowFacts& facts, WindowHandle popup) {
    return facts.window != 0 && facts.window != popup && facts.visible && !facts.cloaked &&
           !facts.tool_window && !facts.shell_window && !is_shell_class(facts.class_name);
}

WindowHandle front_window(WindowHandle popup, const NextWindow& next) {
    for (std::size_t read = 0; read < kFrontWindowSearchLimit; ++read) {
        const std::optional<WindowFacts> facts = next();
        if (!facts) {
            break;
        }
        if (qualifies_as_front_window(*facts, popup)) {
            return facts->window;
        }
    }
    return 0;
}

std::string window_menu_log(std::string_view title) {
    return std::string(kWindowMenuLog) + std::string(title);
}

std::string window_menu_refused_log(std::string_view title) {
    return std::string(kWindowMenuLog) + "refusé (" + std::string(title) + ")";
}

std::string window_menu_none_log() {
    return std::string(kWindowMenuLog) + "aucune fenêtre";
}

}  // namespace talvo
