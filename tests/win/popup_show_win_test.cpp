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

}  // namespace
}  // namespace talvo::win
