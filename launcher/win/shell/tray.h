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
// "TaskbarCreated": the icon is refreshed when the shell still has it, added
// again (with the retries) when it does not.
void on_taskbar_created(HWND hwnd);
// Ends the retries and removes the icon.
void remove_tray_icon(HWND hwnd);

// The icon's callback message: clicks, keys and the context menu.
void on_tray_callback(HWND hwnd, WPARAM wparam, LPARAM lparam);

}  // namespace talvo::win
