// The notification-area icon against the shell under Wine: the popup's own
// destruction removes the icon while the window still exists (Wine would drop
// a dead window's icons by itself, which proves nothing); a refused icon is
// tried again on a timer; the popup lets other processes' messages through.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <chrono>

#include "tray_icon_probe.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_window.h"
#include "win/shell/app_state.h"
#include "win/shell/tray.h"
#include "win/shell/tray_retry.h"

namespace talvo::win {
namespace {

// The quit message the destruction posts would end a later message loop of this thread.
void drop_quit_message() {
    MSG message{};
    PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST(TrayIcon, DestroyingThePopupRemovesItsIconBeforeTheWindowGoes) {
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    add_tray_icon(popup.get());
    ASSERT_TRUE(testing::tray_icon_present(popup.get())) << "the icon was added";

    // The destruction's handler, run while the window lives on.
    SendMessageW(popup.get(), WM_DESTROY, 0, 0);
    drop_quit_message();
    ASSERT_TRUE(IsWindow(popup.get()));
    EXPECT_FALSE(testing::tray_icon_present(popup.get()))
        << "the icon is removed by the popup itself";
    DestroyWindow(popup.release());
    drop_quit_message();
}

// A shell that refuses the first two adds, as at log-on before the taskbar.
int adds_asked = 0;
bool add_refused_twice(HWND) {
    return ++adds_asked > 2;
}

// The retry timer is armed exactly when KillTimer finds it (and it is then gone).
bool timer_armed(HWND hwnd) {
    return KillTimer(hwnd, kTrayRetryTimer) != FALSE;
}

TEST(TrayIcon, ARefusedAddIsTriedAgainUntilTheShellTakesIt) {
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    const auto start = std::chrono::steady_clock::now();
    adds_asked = 0;
    TrayIconRetry retry(add_refused_twice, kTrayRetryTimer);

    retry.add(popup.get(), start);
    EXPECT_TRUE(retry.retrying());
    retry.on_timer(popup.get(), start + std::chrono::seconds(2));
    EXPECT_TRUE(retry.retrying()) << "refused again";
    retry.on_timer(popup.get(), start + std::chrono::seconds(4));
    EXPECT_FALSE(retry.retrying()) << "the third add is taken";
    EXPECT_EQ(adds_asked, 3);
    EXPECT_FALSE(timer_armed(popup.get())) << "the timer stops with the success";

    adds_asked = -1000;  // refused from now on
    retry.add(popup.get(), start);
    ASSERT_TRUE(timer_armed(popup.get()));
    SetTimer(popup.get(), kTrayRetryTimer, 2000, nullptr);  // KillTimer took it: put it back
    retry.on_timer(popup.get(), start + std::chrono::seconds(118));
    EXPECT_TRUE(retry.retrying());
    retry.on_timer(popup.get(), start + std::chrono::seconds(120));
    EXPECT_FALSE(retry.retrying()) << "given up after two minutes";
    EXPECT_FALSE(timer_armed(popup.get()));

    retry.add(popup.get(), start);
    retry.stop(popup.get());  // "TaskbarCreated" or quit
    EXPECT_FALSE(retry.retrying());
    EXPECT_FALSE(timer_armed(popup.get()));
    DestroyWindow(popup.release());
    drop_quit_message();
}

// "TaskbarCreated" also comes on some display changes, with the icon still
// there: it is refreshed then, with no retry of an add the shell refuses.
TEST(TrayIcon, TaskbarCreatedRefreshesAPresentIconAndAddsAMissingOne) {
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    ASSERT_TRUE(add_tray_icon(popup.get()));

    on_taskbar_created(popup.get());
    EXPECT_TRUE(testing::tray_icon_present(popup.get()));
    EXPECT_FALSE(timer_armed(popup.get())) << "no add was refused";

    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = popup.get();
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));  // what a restarted Explorer forgot
    on_taskbar_created(popup.get());
    EXPECT_TRUE(testing::tray_icon_present(popup.get())) << "added again";
    EXPECT_FALSE(timer_armed(popup.get()));

    SendMessageW(popup.get(), WM_DESTROY, 0, 0);
    drop_quit_message();
    DestroyWindow(popup.release());
    drop_quit_message();
}

// What the popup's window procedure is seen to do, recorded by a subclass.
WNDPROC popup_procedure = nullptr;
bool icon_present_at_end = true;

LRESULT CALLBACK recording_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCDESTROY) {
        icon_present_at_end = testing::tray_icon_present(hwnd);
    }
    return CallWindowProcW(popup_procedure, hwnd, message, wparam, lparam);
}

// The setup's quit request, as another process posts it: the popup itself
// removes its icon on the way out, seen while the window still exists (Wine
// would drop a dead window's icons by itself).
TEST(TrayIcon, TheQuitRequestDestroysThePopupAndRemovesItsIcon) {
    const HWND popup = create_popup_window(GetModuleHandleW(nullptr));
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(add_tray_icon(popup));
    popup_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording_procedure)));
    icon_present_at_end = true;
    PostMessageW(popup, kQuitRequestMessage, 0, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    MSG message{};
    while (IsWindow(popup) && std::chrono::steady_clock::now() < deadline) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    drop_quit_message();
    EXPECT_FALSE(IsWindow(popup)) << "the window is gone";
    EXPECT_FALSE(icon_present_at_end) << "its icon went before it";
    if (IsWindow(popup)) {
        DestroyWindow(popup);
        drop_quit_message();
    }
}

// The popup's own retry timer: an add the shell refuses (here because the icon
// is already there) arms it; the next tick after the icon went adds it back.
TEST(TrayIcon, TheRetryTimerOfARealPopupPutsTheIconBack) {
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    ASSERT_TRUE(add_tray_icon(popup.get()));
    add_tray_icon_with_retry(popup.get());  // refused: the icon exists
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = popup.get();
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_FALSE(testing::tray_icon_present(popup.get()));
    SendMessageW(popup.get(), WM_TIMER, kTrayRetryTimer, 0);
    EXPECT_TRUE(testing::tray_icon_present(popup.get())) << "the tick added it back";
    EXPECT_FALSE(timer_armed(popup.get())) << "and stopped the retries";

    SendMessageW(popup.get(), WM_DESTROY, 0, 0);
    drop_quit_message();
    DestroyWindow(popup.release());
    drop_quit_message();
}

TEST(PopupWindow, OtherProcessesMessagesAreAllowedThrough) {
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    EXPECT_TRUE(allow_messages_from_other_processes(popup.get(),
                                                    RegisterWindowMessageW(L"TaskbarCreated")));
    DestroyWindow(popup.release());
    drop_quit_message();
}

}  // namespace
}  // namespace talvo::win
