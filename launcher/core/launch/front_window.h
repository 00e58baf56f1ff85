// Which window was in front when the popup showed: the window whose menu the
// window-menu command opens, as Windows' own Alt+Space would have.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/launch/focus_rules.h"

namespace talvo {

// What the system reports of one top-level window.
struct WindowFacts {
    WindowHandle window = 0;
    bool visible = false;
    bool cloaked = false;
    bool tool_window = false;
    bool shell_window = false;  // the desktop's own window (GetShellWindow)
    std::string class_name;
};

// Visible, not cloaked, not a tool window, and neither the popup, the desktop
// nor a taskbar.
bool qualifies_as_front_window(const WindowFacts& facts, WindowHandle popup);

// Top-level windows read one at a time, the foreground window first and then
// down the Z-order; nothing once there are no more.
using NextWindow = std::function<std::optional<WindowFacts>()>;

// No more windows are read than this: a show must stay instant.
inline constexpr std::size_t kFrontWindowSearchLimit = 256;

// The foreground window if it qualifies, otherwise the first qualifying
// window below it; 0 when none does.
WindowHandle front_window(WindowHandle popup, const NextWindow& next);

// "menu de la fenêtre : {title}"
std::string window_menu_log(std::string_view title);
// "menu de la fenêtre : refusé ({title})"
std::string window_menu_refused_log(std::string_view title);
// "menu de la fenêtre : aucune fenêtre"
std::string window_menu_none_log();

}  // namespace talvo
