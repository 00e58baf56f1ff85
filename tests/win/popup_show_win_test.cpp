// A show that the system refuses the foreground: Wine always grants it, so the
// test stands in for the refusal where the popup asks whether it has it.
#include <gtest/gtest.h>

#include <windows.h>

#include "popup_test_state.h"
#include "win/platform/unique_resource.h"
#include "win/popup/popup_visibility.h"
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
    unique_hwnd popup(create_popup_window(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(popup);
    ui_state().install(state_with(popup.get(), "", 0));

    ui_values().foreground_probe = refused;
    show_popup(popup.get());
    pump();
    EXPECT_FALSE(IsWindowVisible(popup.get())) << "not left topmost without the keyboard";
    EXPECT_FALSE(ui_state().borrow()->visible);
    EXPECT_FALSE(KillTimer(popup.get(), kCaretTimer)) << "no caret timer";
    EXPECT_NE(log.text().find("premier plan refusé : Talvo masqué\n"), std::string::npos)
        << log.text();

    ui_values().foreground_probe = nullptr;
    show_popup(popup.get());
    pump();
    EXPECT_TRUE(IsWindowVisible(popup.get()));
    EXPECT_EQ(GetForegroundWindow(), popup.get());
    EXPECT_TRUE(ui_state().borrow()->visible);
    EXPECT_EQ(log.text().find("premier plan refusé"), log.text().rfind("premier plan refusé"))
        << "logged once";

    hide_popup(popup.get());
    ui_state().clear();
    DestroyWindow(popup.release());
    pump();
}

}  // namespace
}  // namespace talvo::win
