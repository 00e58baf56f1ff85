// The system's answers about top-level windows: which ones a user could
// switch to, and per window its class, title, application id, package and
// executable. The rules that use them are in the core (focus_rules.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/launch/focus_rules.h"
#include "core/launch/front_window.h"

namespace talvo::win {

// Every top-level window, in EnumWindows order.
std::vector<HWND> top_level_windows();

// The top-level windows that are visible, titled, unowned, not tool windows
// and not cloaked, tested in that order; top of the Z-order first.
std::vector<HWND> list_switchable_windows();

std::string window_class_name(HWND window);  // room for 64 characters
std::string window_title(HWND window);       // room for 512 characters
// DWMWA_CLOAKED as a 4-byte value; 0 when the call fails.
std::uint32_t window_cloaked(HWND window);
// The window's application user model id; nothing on failure or when empty.
std::optional<std::string> window_app_id(HWND window);
// Full path of the executable of the window's process; nothing on failure.
std::optional<std::string> window_process_path(HWND window);
// Package family name of the window's process; nothing when it has none.
std::optional<std::string> window_package_family(HWND window);

// What the system says of a top-level window, for front_window.
WindowFacts window_facts(HWND window);
// The window in front, read from the foreground window down the Z-order;
// 0 when none qualifies.
WindowHandle window_in_front(HWND popup);

// Opens the window's own menu as Alt+Space does (WM_SYSCOMMAND, SC_KEYMENU,
// a space); false when the message cannot be posted to it.
bool open_window_menu(HWND window);

// The live answers, for find_open_window. The UI thread must be a COM apartment.
class SystemWindowQueries final : public WindowQueries {
  public:
    std::vector<WindowHandle> switchable_windows() override;
    std::string class_name(WindowHandle window) override;
    std::string title(WindowHandle window) override;
    std::optional<std::string> app_id(WindowHandle window) override;
    std::optional<std::string> package_family(WindowHandle window) override;
    std::optional<std::string> process_path(WindowHandle window) override;
    std::vector<ShellFolderWindow> shell_folder_windows() override;
};

inline HWND to_hwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}

inline WindowHandle to_handle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

}  // namespace talvo::win
