// Typing in the popup: rows follow the query, keys move the selection and
// edit the query, Enter records the choice.
//
// With an empty history the catalogue under Wine holds only the built-in
// entries, so the rows are known: "d" gives six of them, Téléchargements
// (alias "d"), Documents, Dossier personnel, Bureau, then two commands;
// "telech" gives Téléchargements alone, "vi" Vidéos and the autostart command
// (v and i in order in its name), and "telech zz" nothing.
#include <gtest/gtest.h>

#include <cctype>

#include "launcher_fixture.h"
#include "polling.h"
#include "screen.h"
#include "synthetic_input.h"

namespace talvo::e2e {
namespace {

using Typing = LauncherTest;

bool all_digits(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

TEST_F(Typing, EnterRecordsTheChoiceLogsItAndHides) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_TRUE(wait_hidden());

    const HistoryLine line = history()[0];
    ASSERT_EQ(line.fields.size(), 5u) << read_file(data_file(L"history.tsv"));
    EXPECT_TRUE(all_digits(line.fields[0])) << line.fields[0];
    EXPECT_GT(std::stoull(line.fields[0]), 1'600'000'000ull) << "a Unix time of these years";
    EXPECT_TRUE(all_digits(line.fields[1]) && std::stoi(line.fields[1]) < 24) << line.fields[1];
    EXPECT_TRUE(line.fields[2] == "0" || line.fields[2] == "1") << line.fields[2];
    EXPECT_EQ(line.key(), "dir:downloads");
    EXPECT_EQ(line.query(), "telech");
    const std::string text = read_file(data_file(L"history.tsv"));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(wait_until([&] {
        return log_has(log_path(), "appris : dir:downloads \xE2\x86\x90 \xC2\xAB telech \xC2\xBB");
    }));
}

TEST_F(Typing, HeightFollowsTheNumberOfRows) {
    struct Case {
        const wchar_t* query;
        int rows;
    };
    const Case cases[] = {{L"telech", 1}, {L"telech zz", 0}, {L"d", 6}, {L"vi", 2}, {L"bureau", 1}};
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    EXPECT_EQ(window_height(popup_), 86);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "query of " << wcslen(c.query) << " characters, " << c.rows << " rows");
        // Showing again empties the query; a row height in between proves the
        // later wait sees this query's answer.
        press_key(VK_ESCAPE);
        ASSERT_TRUE(wait_hidden());
        press_alt_space();
        ASSERT_TRUE(wait_shown());
        ASSERT_TRUE(wait_rows(0));
        type_text(L"telech");
        ASSERT_TRUE(wait_rows(1));
        press_ctrl_backspace();
        ASSERT_TRUE(wait_rows(0));
        type_text(c.query);
        ASSERT_TRUE(wait_rows(c.rows));
        EXPECT_EQ(window_rect(popup_).right - window_rect(popup_).left, 720);
        EXPECT_EQ(window_rect(popup_).top, expected_origin().y) << "the top edge stays put";
        if (c.rows > 0) {
            EXPECT_TRUE(wait_selected(0));
        }
    }
}

TEST_F(Typing, UpAndDownMoveTheBandAndWrap) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    ASSERT_TRUE(wait_selected(0));
    save_popup_screenshot(L"popup-results-d.bmp");

    struct Step {
        WORD key;
        int selected;
    };
    const Step steps[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_UP, 0}, {VK_UP, 5},
                          {VK_DOWN, 0}, {VK_UP, 5},   {VK_UP, 4}, {VK_UP, 3}};
    for (const Step& step : steps) {
        press_key(step.key);
        ASSERT_TRUE(wait_selected(step.selected))
            << (step.key == VK_UP ? "Up" : "Down") << " to row " << step.selected;
        const int middle = look::kRowsTop + look::kRowHeight * step.selected + 27;
        // The band spans the row, the other rows keep the panel colour.
        EXPECT_EQ(screen_pixel(popup_point(704, middle)), look::kAccent);
        const int other = (step.selected + 1) % 6;
        EXPECT_EQ(screen_pixel(popup_point(16, look::kRowsTop + look::kRowHeight * other + 27)),
                  look::kBackground);
    }
    save_popup_screenshot(L"popup-results-d-row3.bmp");
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:desktop") << "Bureau, the fourth row of \"d\"";
    EXPECT_EQ(history()[0].query(), "d");
}

TEST_F(Typing, TabPutsTheSelectedNameInTheQuery) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    press_key(VK_DOWN);
    ASSERT_TRUE(wait_selected(1));
    press_key(VK_TAB);
    // "Documents" now: one row, selected.
    ASSERT_TRUE(wait_rows(1));
    EXPECT_TRUE(wait_selected(0));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:documents");
    EXPECT_EQ(history()[0].query(), "documents") << "the name, folded";
}

TEST_F(Typing, BackspaceRemovesTheLastCharacter) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    type_text(L"q");
    ASSERT_TRUE(wait_rows(0));
    press_key(VK_BACK);
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:downloads");
    EXPECT_EQ(history()[0].query(), "telech");
}

TEST_F(Typing, CtrlBackspaceRemovesTheLastWord) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"telech");
    ASSERT_TRUE(wait_rows(1));
    type_text(L" zz");
    ASSERT_TRUE(wait_rows(0));
    press_ctrl_backspace();
    ASSERT_TRUE(wait_rows(1)) << "\"telech \" is left";
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].query(), "telech") << "recorded trimmed";
}

TEST_F(Typing, CtrlVPastesTheFirstLineOfTheClipboard) {
    ASSERT_TRUE(set_clipboard_text(L"T\u00C9L\u00C9CH\r\nune autre ligne"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    press_with_ctrl('V');
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:downloads");
    EXPECT_EQ(history()[0].query(), "telech") << "folded, second line left out";
}

// A paragraph pasted by mistake: the query keeps its first 256 characters, and
// the popup answers at once (it once measured the whole text at every paint).
TEST_F(Typing, AHugePasteKeepsItsFirstCharactersAndThePopupAnswers) {
    ASSERT_TRUE(set_clipboard_text(L"telech" + std::wstring(100'000, L' ') + L"zz"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    press_with_ctrl('V');
    ASSERT_TRUE(wait_rows(1)) << "the spaces after \"telech\" are cut before \"zz\"";
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].query(), "telech");
    EXPECT_TRUE(wait_hidden());
}

TEST_F(Typing, AccentedTextIsTypedAndFolded) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"Vid\u00E9os");
    ASSERT_TRUE(wait_rows(1));
    press_key(VK_RETURN);
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:videos");
    EXPECT_EQ(history()[0].query(), "videos");
}

}  // namespace
}  // namespace talvo::e2e
