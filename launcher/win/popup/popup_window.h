// The popup window: its class, its creation and its window procedure.
#pragma once

#include <windows.h>

namespace talvo::win {

inline constexpr wchar_t kPopupClassName[] = L"TalvoWindow";

// Registers "TalvoWindow" and creates the hidden topmost popup; null on failure.
HWND create_popup_window(HINSTANCE instance);

LRESULT CALLBACK popup_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace talvo::win
