// The notification-area icon: added at start-up (again while the shell refuses
// it) and after Explorer restarts, removed when the popup is destroyed; its click toggles the popup
// and its menu offers open, statistics, hidden entries, start with Windows and quit.
#pragma once

#include <windows.h>

namespace talvo::win {

// Whether the shell took the icon.
bool add_tray_icon(HWND hwnd);
// Adds the icon, trying again on the popup's retry timer while the shell refuses it.
void add_tray_icon_with_retry(HWND hwnd);
// A tick of the retry timer.
void on_tray_retry_timer(HWND hwnd);
// Ends the retries and removes the icon.
void remove_tray_icon(HWND hwnd);

// Builds the menu at the pointer, lets the user choose, then runs the choice.
void show_tray_menu(HWND hwnd);

// A left click: hides the popup when it is shown or was hidden by this very
// click taking the focus, shows it otherwise.
void on_tray_click(HWND hwnd);

}  // namespace talvo::win
