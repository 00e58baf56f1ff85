// A show that the system refuses the foreground: Wine always grants it, so the
// test stands in for the refusal where the popup asks whether it has it.
#include <gtest/gtest.h>

#include <windows.h>

#include "popup_test_state.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_window.h"

namespace talvo::win {
namespace {

bool refused(HWND) {
    return false;
}

void pump() {
    MSG message{};
    for (int i = 0; i < 10; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                DispatchMessageW(&message);
            }
        }
        Sleep(5);
    }
}

TEST(PopupShow, WithoutTheForegroundThePopupHidesAgainAndTheNextShowTriesAfresh) {
    const ScratchLog log;
    TestLauncher test;
    ASSERT_NE(test.hwnd(), nullptr);
    PopupWindow& popup = test.popup();

    popup.set_foreground_probe(refused);
    popup.show();
    pump();
    EXPECT_FALSE(IsWindowVisible(test.hwnd())) << "not left topmost without the keyboard";
    EXPECT_FALSE(test.ui().popup.borrow()->visible);
    EXPECT_FALSE(KillTimer(test.hwnd(), kCaretTimer)) << "no caret timer";
    EXPECT_NE(log.text().find("premier plan refusé : Talvo masqué\n"), std::string::npos)
        << log.text();

    popup.set_foreground_probe(nullptr);
    popup.show();
    pump();
    EXPECT_TRUE(IsWindowVisible(test.hwnd()));
    EXPECT_EQ(GetForegroundWindow(), test.hwnd());
    EXPECT_TRUE(test.ui().popup.borrow()->visible);
    EXPECT_EQ(log.text().find("premier plan refusé"), log.text().rfind("premier plan refusé"))
        << "logged once";
    popup.hide();
    pump();
}

WNDPROC popup_procedure = nullptr;
int paints = 0;

LRESULT CALLBACK counting_paints(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    paints += message == WM_PAINT ? 1 : 0;
    return CallWindowProcW(popup_procedure, hwnd, message, wparam, lparam);
}

// A paint that finds the popup's state busy (a handler in a nested loop) has
// validated the window all the same: it is painted again once the state is free.
TEST(PopupPaint, APaintSkippedWhileTheStateIsBusyIsDoneOnceItIsFree) {
    TestLauncher test("d", 3);
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    ShowWindow(popup, SW_SHOWNOACTIVATE);
    UpdateWindow(popup);
    pump();
    popup_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_paints)));
    paints = 0;
    {
        const auto busy = test.ui().popup.borrow();
        InvalidateRect(popup, nullptr, FALSE);
        UpdateWindow(popup);
        ASSERT_EQ(paints, 1);
        EXPECT_FALSE(GetUpdateRect(popup, nullptr, FALSE)) << "the skipped paint validated it";
    }
    for (int i = 0; i < 20 && paints < 2; ++i) {
        pump();
    }
    EXPECT_EQ(paints, 2) << "painted again once, with the state free";
    SetWindowLongPtrW(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(popup_procedure));
}

}  // namespace
}  // namespace talvo::win
