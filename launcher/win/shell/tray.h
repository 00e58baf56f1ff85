// The notification-area icon: added at start-up and after Explorer restarts,
// removed when the popup is destroyed; its click toggles the popup and its
// menu offers open, statistics, hidden entries, start with Windows and quit.
#pragma once

#include <windows.h>

namespace talvo::win {

void add_tray_icon(HWND hwnd);
void remove_tray_icon(HWND hwnd);

// Builds the menu at the pointer, lets the user choose, then runs the choice.
void show_tray_menu(HWND hwnd);

// A left click: hides the popup when it is shown or was hidden by this very
// click taking the focus, shows it otherwise.
void on_tray_click(HWND hwnd);

}  // namespace talvo::win
