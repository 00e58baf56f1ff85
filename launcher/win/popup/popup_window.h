// The popup window: its class, its creation and its window procedure.
#pragma once

#include <windows.h>

#include "core/shell/launcher_protocol.h"

namespace talvo::win {

inline constexpr const wchar_t* kPopupClassName = protocol::kWindowClass;

// Registers "TalvoWindow" and creates the hidden topmost popup; null on failure.
HWND create_popup_window(HINSTANCE instance);

// Lets the messages other processes send the popup through User Interface
// Privilege Isolation, which drops them on their way to an elevated launcher
// (one an installer run as administrator started): Explorer's
// "TaskbarCreated", a second start's show request and the setup's quit
// request. True when all are allowed.
bool allow_messages_from_other_processes(HWND hwnd, UINT taskbar_created);

LRESULT CALLBACK popup_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace talvo::win
