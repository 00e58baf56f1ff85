// Showing, placing and hiding the popup, and refitting it to its rows.
#pragma once

#include <windows.h>

#include "win/shell/app_state.h"

namespace talvo::win {

// Places the popup under the pointer's monitor, empties the query, refreshes
// the rows, may start a rescan, and takes the focus. When the system refuses
// it the foreground, the popup hides again and the log says so.
void show_popup(HWND hwnd);

// Stops the caret, hides the window and notes when; nothing if already hidden.
void hide_popup(HWND hwnd);

// Hides a shown popup, shows a hidden one (the hotkey, Enter on the tray icon).
void toggle_popup(HWND hwnd);

// Whether the window is visible; clears `visible` when it is not.
bool popup_is_shown(HWND hwnd);

// Rebuilds the rows from the query, selects the first, resizes and repaints.
void recompute_results(AppState& state);

}  // namespace talvo::win
