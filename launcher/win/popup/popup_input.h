// The popup's keys, typed characters, clicks and row menu. Each handler works
// on the borrowed state and returns what to do once the state is released.
#pragma once

#include <windows.h>

#include "core/launch/launch.h"
#include "win/shell/app_state.h"

namespace talvo::win {

PopupAction on_key_down(HWND hwnd, WPARAM virtual_key);
void on_char(HWND hwnd, wchar_t unit);
PopupAction on_left_button(HWND hwnd, LPARAM position);
// A screen reader's default action on a row: what a click on it does.
PopupAction on_accessible_open(HWND hwnd, WPARAM row);
void on_right_button(HWND hwnd, LPARAM position);

// Hides an entry (refused for launcher commands) and refreshes the rows.
void hide_entry_and_refresh(AppState& state, std::string_view key);

}  // namespace talvo::win
