// Keys that must not act: AltGr, which types characters on French keyboards
// and reaches the popup as Ctrl + Alt, and any key that reaches the popup
// while it is hidden (after a tray menu it can keep the keyboard).
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include "data_files.h"
#include "launcher_fixture.h"
#include "polling.h"
#include "screen_reader.h"
#include "synthetic_input.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using Keyboard = LauncherTest;

// "d" shows six rows: Téléchargements, Documents, Dossier personnel, Bureau, then two commands.
TEST_F(Keyboard, AltGrTypesAndNeverLaunchesOrHides) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    for (const WORD key : {WORD{'3'}, WORD{'4'}, WORD{VK_DELETE}}) {
        press_with_altgr(key);
    }
    EXPECT_TRUE(stays_false([&] { return !shown(); }, std::chrono::milliseconds(800)))
        << "the popup stays open";
    EXPECT_TRUE(history().empty()) << read_file(data_file(L"history.tsv"));
    EXPECT_FALSE(file_exists(data_file(L"hidden.txt"))) << "nothing hidden";

    press_with_ctrl('3');
    ASSERT_TRUE(wait_history(1)) << "Ctrl+3 alone still launches row 3";
    EXPECT_EQ(history()[0].key(), "dir:home") << "Dossier personnel";
}

// Hidden with six rows and the query "d" kept, the popup is given the
// keyboard: every key that would act on a shown popup does nothing.
TEST_F(Keyboard, AHiddenPopupWithTheKeyboardIgnoresEveryKey) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    press_key(VK_ESCAPE);
    ASSERT_TRUE(wait_hidden());
    SetForegroundWindow(popup_);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == popup_; }));
    ASSERT_FALSE(IsWindowVisible(popup_));
    press_key(VK_DOWN);
    press_key(VK_TAB);
    type_text(L"x");
    press_key(VK_BACK);
    press_with_ctrl(VK_BACK);
    press_with_ctrl(VK_DELETE);
    press_with_ctrl('2');
    press_key(VK_RETURN);
    EXPECT_TRUE(stays_false([&] { return !history().empty() || IsWindowVisible(popup_); },
                            std::chrono::milliseconds(800)))
        << "nothing launched, nothing shown";
    EXPECT_FALSE(file_exists(data_file(L"hidden.txt"))) << "nothing hidden";
    const std::optional<ReadPopup> read = read_popup(popup_);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->query.value, "d") << "the query is as it was";
    ASSERT_EQ(read->rows.size(), 6u);
    EXPECT_EQ(read->rows[0].name, "Téléchargements") << "no completion, no hidden row";
    EXPECT_NE(read->rows[0].state & STATE_SYSTEM_SELECTED, 0) << "the selection did not move";
}

}  // namespace
}  // namespace talvo::e2e
