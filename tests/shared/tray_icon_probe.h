// Whether the shell holds a window's notification-area icon: changing its tip
// succeeds only then, and nothing a person sees changes.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace talvo::testing {

inline bool tray_icon_present(HWND owner, UINT id = 1) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = NIF_TIP;
    wcscpy_s(data.szTip, L"Talvo (Alt+Espace)");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

}  // namespace talvo::testing
