// The notification-area icon against the shell under Wine: the popup's own
// destruction removes the icon while the window still exists (Wine would drop
// a dead window's icons by itself, which proves nothing).
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "win/platform/unique_resource.h"
#include "win/popup/popup_window.h"
#include "win/shell/tray.h"

namespace talvo::win {
namespace {

// The shell holds an icon for this window exactly when changing its tip succeeds.
bool icon_present(HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 1;
    data.uFlags = NIF_TIP;
    wcscpy_s(data.szTip, L"Talvo");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// The quit message the destruction posts would end a later message loop of this thread.
void drop_quit_message() {
    MSG message{};
    PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST(TrayIcon, DestroyingThePopupRemovesItsIconBeforeTheWindowGoes) {
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    add_tray_icon(popup.get());
    ASSERT_TRUE(icon_present(popup.get())) << "the icon was added";

    // The destruction's handler, run while the window lives on.
    SendMessageW(popup.get(), WM_DESTROY, 0, 0);
    drop_quit_message();
    ASSERT_TRUE(IsWindow(popup.get()));
    EXPECT_FALSE(icon_present(popup.get())) << "the icon is removed by the popup itself";
    DestroyWindow(popup.release());
    drop_quit_message();
}

}  // namespace
}  // namespace talvo::win
