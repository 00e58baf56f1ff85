// What the launcher remembers: chosen entries come back as suggestions,
// hidden entries stay hidden, across a restart too.
#include <gtest/gtest.h>

#include "launcher_fixture.h"
#include "polling.h"
#include "synthetic_input.h"

namespace talvo::e2e {
namespace {

using Memory = LauncherTest;

// The rows of "d" with no history: see typing_test.cpp.
constexpr int kDocumentsRow = 1;
constexpr int kStatisticsRow = 5;

TEST_F(Memory, ChosenEntryIsSuggestedOnTheNextShowAndAfterARestart) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    ASSERT_TRUE(wait_rows(0));
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    ASSERT_TRUE(wait_hidden());

    press_alt_space();
    ASSERT_TRUE(wait_shown());
    EXPECT_TRUE(wait_rows(1)) << "the empty query suggests the chosen entry";
    EXPECT_TRUE(wait_selected(0));

    launcher_.reset();
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    EXPECT_TRUE(wait_rows(1)) << "history.tsv is read at start-up";
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(2));
    EXPECT_EQ(history()[1].key(), "dir:downloads");
    EXPECT_EQ(history()[1].query(), "") << "chosen from the suggestions";
}

TEST_F(Memory, CtrlDeleteHidesTheSelectedEntryForGood) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    press_key(VK_DOWN);
    ASSERT_TRUE(wait_selected(kDocumentsRow));
    press_with_ctrl(VK_DELETE);
    ASSERT_TRUE(wait_until([&] {
        return read_file(data_file(L"hidden.txt")) == "dir:documents\n";
    })) << "hidden.txt: "
        << read_file(data_file(L"hidden.txt"));
    EXPECT_TRUE(wait_until([&] { return log_has(log_path(), "masqué : dir:documents"); }));
    EXPECT_TRUE(wait_selected(0)) << "the rows are recomputed";

    launcher_.reset();
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    press_key(VK_DOWN);
    ASSERT_TRUE(wait_selected(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:home") << "Documents stays hidden after a restart";
}

TEST_F(Memory, LauncherCommandsCannotBeHidden) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    for (int i = 0; i < kStatisticsRow; ++i) {
        press_key(VK_DOWN);
    }
    ASSERT_TRUE(wait_selected(kStatisticsRow));
    press_with_ctrl(VK_DELETE);
    // Ctrl+3 afterwards proves the Ctrl+Delete was handled before it.
    press_with_ctrl('3');
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:home") << "Ctrl+3 chooses the third row";
    EXPECT_FALSE(file_exists(data_file(L"hidden.txt")));
    EXPECT_FALSE(log_has(log_path(), "masqué : cmd:stats"));
}

}  // namespace
}  // namespace talvo::e2e
