// The notification-area icon against the shell under Wine: the popup's own
// destruction removes the icon while the window still exists (Wine would drop
// a dead window's icons by itself, which proves nothing); a refused icon is
// tried again on a timer; the popup lets other processes' messages through.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <chrono>

#include "popup_test_state.h"
#include "tray_icon_probe.h"
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
    TestLauncher test;
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    test.tray().add();
    ASSERT_TRUE(testing::tray_icon_present(popup)) << "the icon was added";

    // The destruction's handler, run while the window lives on.
    SendMessageW(popup, WM_DESTROY, 0, 0);
    drop_quit_message();
    ASSERT_TRUE(IsWindow(popup));
    EXPECT_FALSE(testing::tray_icon_present(popup)) << "the icon is removed by the popup itself";
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
    TestLauncher test;
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    const auto start = std::chrono::steady_clock::now();
    adds_asked = 0;
    TrayIconRetry retry(add_refused_twice, kTrayRetryTimer);

    retry.add(popup, start);
    EXPECT_TRUE(retry.retrying());
    retry.on_timer(popup, start + std::chrono::seconds(2));
    EXPECT_TRUE(retry.retrying()) << "refused again";
    retry.on_timer(popup, start + std::chrono::seconds(4));
    EXPECT_FALSE(retry.retrying()) << "the third add is taken";
    EXPECT_EQ(adds_asked, 3);
    EXPECT_FALSE(timer_armed(popup)) << "the timer stops with the success";

    adds_asked = -1000;  // refused from now on
    retry.add(popup, start);
    ASSERT_TRUE(timer_armed(popup));
    SetTimer(popup, kTrayRetryTimer, 2000, nullptr);  // KillTimer took it: put it back
    retry.on_timer(popup, start + std::chrono::seconds(118));
    EXPECT_TRUE(retry.retrying());
    retry.on_timer(popup, start + std::chrono::seconds(120));
    EXPECT_FALSE(retry.retrying()) << "given up after two minutes";
    EXPECT_FALSE(timer_armed(popup));

    retry.add(popup, start);
    retry.stop(popup);  // "TaskbarCreated" or quit
    EXPECT_FALSE(retry.retrying());
    EXPECT_FALSE(timer_armed(popup));
}

// "TaskbarCreated" also comes on some display changes, with the icon still
// there: it is refreshed then, with no retry of an add the shell refuses.
TEST(TrayIcon, TaskbarCreatedRefreshesAPresentIconAndAddsAMissingOne) {
    TestLauncher test;
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(test.tray().add());

    test.tray().on_taskbar_created();
    EXPECT_TRUE(testing::tray_icon_present(popup));
    EXPECT_FALSE(timer_armed(popup)) << "no add was refused";

    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = popup;
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));  // what a restarted Explorer forgot
    test.tray().on_taskbar_created();
    EXPECT_TRUE(testing::tray_icon_present(popup)) << "added again";
    EXPECT_FALSE(timer_armed(popup));
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
    TestLauncher test;
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(test.tray().add());
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
}

// The popup's own retry timer: an add the shell refuses (here because the icon
// is already there) arms it; the next tick after the icon went adds it back.
TEST(TrayIcon, TheRetryTimerOfARealPopupPutsTheIconBack) {
    TestLauncher test;
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(test.tray().add());
    test.tray().add_with_retry();  // refused: the icon exists
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = popup;
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_FALSE(testing::tray_icon_present(popup));
    SendMessageW(popup, WM_TIMER, kTrayRetryTimer, 0);
    EXPECT_TRUE(testing::tray_icon_present(popup)) << "the tick added it back";
    EXPECT_FALSE(timer_armed(popup)) << "and stopped the retries";
}

TEST(PopupWindow, OtherProcessesMessagesAreAllowedThrough) {
    TestLauncher test;
    ASSERT_NE(test.hwnd(), nullptr);
    EXPECT_TRUE(test.popup().allow_messages_from_other_processes());
}

}  // namespace
}  // namespace talvo::win
