// The mouse on the rows: a left click chooses, a right click offers to hide.
#include <gtest/gtest.h>

#include "launcher_fixture.h"
#include "polling.h"
#include "screen.h"
#include "synthetic_input.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

using Mouse = LauncherTest;

// The rows of "d" with no history: see typing_test.cpp.
constexpr int kDossierPersonnelRow = 2;
constexpr int kDocumentsRow = 1;

TEST_F(Mouse, LeftClickOnARowRecordsThatRow) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    left_click(row_point(kDossierPersonnelRow));
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:home");
    EXPECT_EQ(history()[0].query(), "d");
    EXPECT_TRUE(wait_hidden());
}

TEST_F(Mouse, ClickBesideTheRowsChoosesNothing) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    left_click(popup_point(6, look::kRowsTop + 27));  // left of the clickable band
    left_click(popup_point(300, 40));                 // on the query box
    EXPECT_TRUE(stays_false([&] { return !history().empty(); }, std::chrono::milliseconds(400)));
    EXPECT_TRUE(IsWindowVisible(popup_));
}

TEST_F(Mouse, RightClickMenuHidesTheEntry) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    right_click(row_point(kDocumentsRow));
    HWND menu = nullptr;
    ASSERT_TRUE(wait_until([&] {
        menu = find_process_window(launcher_->id(), L"#32768");
        return menu != nullptr && IsWindowVisible(menu);
    })) << "no context menu";
    EXPECT_TRUE(wait_selected(kDocumentsRow)) << "the band follows the right click";
    save_screen_bmp(RECT{window_rect(popup_).left, window_rect(popup_).top,
                         window_rect(menu).right + 10, window_rect(menu).bottom + 10},
                    artifact_path(L"popup-context-menu.bmp"));

    // The menu's only item: "Masquer « Documents »".
    press_key(VK_DOWN);
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] {
        return read_file(data_file(L"hidden.txt")) == "dir:documents\n";
    })) << "hidden.txt: "
        << read_file(data_file(L"hidden.txt"));
    EXPECT_TRUE(wait_until([&] { return log_has(log_path(), "masqué : dir:documents"); }));

    // Documents is gone from the rows: Enter on the second row now takes another entry.
    ASSERT_TRUE(wait_shown());
    press_key(VK_DOWN);
    ASSERT_TRUE(wait_selected(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_NE(history()[0].key(), "dir:documents");
    EXPECT_EQ(history()[0].key(), "dir:home");
}

}  // namespace
}  // namespace talvo::e2e
