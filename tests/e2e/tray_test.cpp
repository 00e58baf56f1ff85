// The notification-area icon as a user meets it under Wine, where the icons
// sit in a small "Wine System Tray" window (tray_placeholder.cpp): a click toggles the popup, the
// right-button menu opens the popup or the statistics, shows hidden entries
// again and quits; Escape runs nothing; the icon comes back after Explorer.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <shellapi.h>

#include "data_files.h"
#include "launcher_fixture.h"
#include "message_box.h"
#include "polling.h"
#include "screen_reader.h"
#include "synthetic_input.h"
#include "text_paths.h"
#include "tray_icon_probe.h"
#include "tray_placeholder.h"

namespace talvo::e2e {
namespace {

// The tray window is shown for these tests only.
class Tray : public LauncherTest {
  protected:
    void SetUp() override {
        LauncherTest::SetUp();
        set_tray_window_shown(true);
    }
    void TearDown() override {
        LauncherTest::TearDown();
        set_tray_window_shown(false);
    }
};

HWND tray_window() {
    return find_process_window(0, L"__winex11_standalone_tray");
}

// The launcher's icon, the second of the tray window (the test program's own
// placeholder is the first); each icon is a 20-pixel cell.
POINT tray_icon() {
    POINT point{30, 10};
    ClientToScreen(tray_window(), &point);
    return point;
}

HWND open_menu() {
    HWND menu = nullptr;
    wait_until([&] {
        menu = find_process_window(0, L"#32768");
        return menu != nullptr && IsWindowVisible(menu);
    });
    return menu;
}

bool menu_closed() {
    return wait_until([] {
        const HWND menu = find_process_window(0, L"#32768");
        return menu == nullptr || !IsWindowVisible(menu);
    });
}

// Opens the menu and walks to an item with the keys, then Enter.
::testing::AssertionResult choose_in_menu(std::initializer_list<WORD> keys) {
    right_click(tray_icon());
    if (open_menu() == nullptr) {
        return ::testing::AssertionFailure() << "no menu opened";
    }
    for (const WORD key : keys) {
        press_key(key);
        Sleep(60);
    }
    return ::testing::AssertionSuccess();
}

TEST_F(Tray, ClicksToggleThePopupAndAClickWhileShownLeavesItHidden) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); })) << "no tray icon";
    left_click(tray_icon());
    ASSERT_TRUE(wait_shown()) << "a click shows the popup";
    left_click(tray_icon());
    ASSERT_TRUE(wait_hidden()) << "a click while it is shown hides it";
    EXPECT_TRUE(stays_false([&] { return IsWindowVisible(popup_) != FALSE; },
                            std::chrono::milliseconds(600)))
        << "and it stays hidden";
    left_click(tray_icon());
    EXPECT_TRUE(wait_shown()) << "a later click shows it again";
}

TEST_F(Tray, MenuOpensThePopupAndEscapeRunsNothing) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); }));
    ASSERT_TRUE(choose_in_menu({VK_ESCAPE}));
    ASSERT_TRUE(menu_closed());
    EXPECT_TRUE(stays_false([&] { return IsWindowVisible(popup_) != FALSE; },
                            std::chrono::milliseconds(500)));
    EXPECT_TRUE(launcher_->running());

    ASSERT_TRUE(choose_in_menu({VK_DOWN, VK_RETURN}));  // "Ouvrir Talvo"
    EXPECT_TRUE(wait_shown());
}

TEST_F(Tray, HiddenEntriesAreShownAgainFromTheSubmenu) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"documents");
    ASSERT_TRUE(wait_rows(1));
    press_with_ctrl(VK_DELETE);
    ASSERT_TRUE(
        wait_until([&] { return read_file(data_file(L"hidden.txt")) == "dir:documents\n"; }));
    press_key(VK_ESCAPE);
    ASSERT_TRUE(wait_hidden());

    // The third item opens "Applications masquées"; Enter there takes its first item.
    ASSERT_TRUE(choose_in_menu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN}));
    EXPECT_TRUE(wait_until([&] { return read_file(data_file(L"hidden.txt")).empty(); }))
        << read_file(data_file(L"hidden.txt"));
    press_alt_space();
    ASSERT_TRUE(wait_shown());
    type_text(L"documents");
    EXPECT_TRUE(wait_rows(1)) << "the entry is back in the results";
}

// "Effacer l'historique…", the fourth item: No changes nothing; Yes empties
// history.tsv, the suggestions and the open statistics page.
TEST_F(Tray, ClearingTheHistoryAsksFirstAndEmptiesWhatWasLearnt) {
    const std::string original = launch_line("dir:music", "mus") + launch_line("dir:music", "m");
    write_file(data_file(L"history.tsv"), original);
    write_file(data_file(L"hidden.txt"), "dir:videos\n");
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); }));
    ASSERT_TRUE(choose_in_menu({VK_DOWN, VK_DOWN, VK_RETURN}));  // "Statistiques…"
    ASSERT_TRUE(wait_until([&] { return launcher_->stats_window() != nullptr; }));

    for (const int answer : {IDNO, IDYES}) {
        ASSERT_TRUE(choose_in_menu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
        const HWND box = wait_talvo_box(launcher_->id());
        ASSERT_NE(box, nullptr) << "the question, in a box titled Talvo";
        EXPECT_EQ(utf8(message_box_text(box)),
                  "Effacer tout ce que Talvo a appris (tes habitudes de lancement) ? Ses "
                  "suggestions repartiront de zéro.");
        EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
        EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
        ASSERT_TRUE(answer_box(box, answer));
        if (answer == IDNO) {
            EXPECT_TRUE(
                stays_false([&] { return read_file(data_file(L"history.tsv")) != original; },
                            std::chrono::milliseconds(500)))
                << "No changes nothing";
        }
    }
    EXPECT_TRUE(wait_until([&] { return read_file(data_file(L"history.tsv")).empty(); }));
    EXPECT_TRUE(file_exists(data_file(L"history.tsv")));
    EXPECT_TRUE(
        wait_until([&] { return log_has(log_path(), "historique effacé (2 lancements)"); }));
    EXPECT_EQ(read_file(data_file(L"hidden.txt")), "dir:videos\n") << "hidden entries stay";
    EXPECT_TRUE(wait_until([&] {
        const auto page = read_client(launcher_->stats_window());
        return page && !page->second.empty() &&
               std::any_of(page->second.begin(), page->second.end(), [](const ReadElement& line) {
                   return line.name == "Aucun lancement pour l'instant.";
               });
    })) << "the open statistics page is empty";
    press_alt_space();
    ASSERT_TRUE(wait_shown());
    EXPECT_TRUE(wait_rows(0)) << "no suggestions";
}

TEST_F(Tray, QuitRemovesTheIconAndEndsWithStatusZeroEvenWithStatisticsOpen) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); }));
    ASSERT_TRUE(choose_in_menu({VK_DOWN, VK_DOWN, VK_RETURN}));  // "Statistiques…"
    ASSERT_TRUE(wait_until([&] { return launcher_->stats_window() != nullptr; }));
    ASSERT_TRUE(choose_in_menu({VK_UP, VK_RETURN}));  // "Quitter Talvo", the last item
    EXPECT_TRUE(wait_exit(0));
    EXPECT_TRUE(wait_until([&] { return !testing::tray_icon_present(popup_); }))
        << "the icon is gone";
}

// What the shell sends when the icon is reached with the keyboard (Win+B, the
// arrows): Enter or Space, then Shift+F10 or the menu key, anchored at the icon.
TEST_F(Tray, TheKeyboardOnTheIconTogglesAndOpensTheMenuAtTheIcon) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); }));
    const POINT icon = tray_icon();
    const auto shell_sends = [&](UINT event) {
        PostMessageW(popup_, WM_APP + 4, MAKEWPARAM(icon.x, icon.y), MAKELPARAM(event, 1));
    };
    // Windows 10 may deliver one Enter twice: key selects further apart than
    // the double-click time toggle each, a second one within it does nothing.
    const auto beyond_double_click = [] { Sleep(GetDoubleClickTime() + 100); };
    shell_sends(NIN_KEYSELECT);
    ASSERT_TRUE(wait_shown());
    beyond_double_click();
    shell_sends(NIN_KEYSELECT);
    ASSERT_TRUE(wait_hidden());
    beyond_double_click();
    shell_sends(NIN_KEYSELECT);
    ASSERT_TRUE(wait_shown()) << "three toggles";
    beyond_double_click();
    press_key(VK_ESCAPE);
    ASSERT_TRUE(wait_hidden());
    shell_sends(NIN_KEYSELECT);
    EXPECT_TRUE(wait_shown()) << "at once after a hide: the 400 ms rule is for clicks";
    press_key(VK_ESCAPE);
    ASSERT_TRUE(wait_hidden());
    beyond_double_click();
    shell_sends(NIN_KEYSELECT);
    shell_sends(NIN_KEYSELECT);
    ASSERT_TRUE(wait_shown());
    EXPECT_TRUE(stays_false([&] { return !IsWindowVisible(popup_); },
                            std::chrono::milliseconds(GetDoubleClickTime() + 200)))
        << "the echo within the double-click time left the popup shown";
    press_key(VK_ESCAPE);
    ASSERT_TRUE(wait_hidden());

    SetCursorPos(800, 600);  // far from the icon
    shell_sends(WM_CONTEXTMENU);
    const HWND menu = open_menu();
    ASSERT_NE(menu, nullptr);
    RECT placed{};
    GetWindowRect(menu, &placed);
    EXPECT_EQ(placed.left, icon.x) << "at the icon, not at the pointer";
    press_key(VK_ESCAPE);
    EXPECT_TRUE(menu_closed());
}

// A real right click under version 4 callbacks: the shell says where the
// icon is, and the menu opens there even when the pointer has left it (as
// the keyboard's menu key does). Without version 4 it would follow the pointer.
TEST_F(Tray, ARightClickOpensTheMenuAtTheIconWithVersion4Callbacks) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); }));
    const POINT icon = tray_icon();
    right_click(icon);
    SetCursorPos(900, 700);  // away at once
    const HWND menu = open_menu();
    ASSERT_NE(menu, nullptr);
    RECT placed{};
    GetWindowRect(menu, &placed);
    EXPECT_EQ(placed.left, icon.x) << "at the icon the shell named, not at the pointer";
    press_key(VK_ESCAPE);
    EXPECT_TRUE(menu_closed());
}

TEST_F(Tray, TheIconComesBackWhenExplorerRestarts) {
    ASSERT_TRUE(start(L"--hidden"));
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); }));
    // What a restarted Explorer would see: no icon, then its broadcast.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = popup_;
    data.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &data);
    ASSERT_TRUE(wait_until([&] { return !testing::tray_icon_present(popup_); }));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(wait_until([&] { return testing::tray_icon_present(popup_); })) << "added again";
    left_click(tray_icon());
    EXPECT_TRUE(wait_shown());
}

}  // namespace
}  // namespace talvo::e2e
