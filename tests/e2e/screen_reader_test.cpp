// The popup as a screen reader reads it from another process: the dialog, the
// query line and its value, the results as list items named as the rows with
// the selection and hints, "Aucun résultat", and a row opened by a reader.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include "launcher_fixture.h"
#include "polling.h"
#include "screen.h"
#include "screen_reader.h"
#include "synthetic_input.h"

namespace talvo::e2e {
namespace {

using ScreenReader = LauncherTest;

constexpr long kRow = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
constexpr long kChosen = kRow | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;

std::vector<std::string> row_names(const ReadPopup& popup) {
    std::vector<std::string> names;
    for (const ReadElement& row : popup.rows) {
        names.push_back(row.name);
    }
    return names;
}

// The popup once the reader sees `rows` rows with the selection on `selected`.
std::optional<ReadPopup> read_when(HWND popup, std::size_t rows, std::size_t selected) {
    std::optional<ReadPopup> read;
    wait_until([&] {
        read = read_popup(popup);
        return read && read->rows.size() == rows &&
               (rows == 0 || read->rows[selected].state == kChosen);
    });
    return read;
}

TEST_F(ScreenReader, RowsQuerySelectionAndHintsAsTheyAreShown) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    std::optional<ReadPopup> read = read_when(popup_, 6, 0);
    ASSERT_TRUE(read) << "the popup answers a reader";
    EXPECT_EQ(read->window.name, "Talvo");
    EXPECT_EQ(read->window.role, ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(read->query.name, "Rechercher");
    EXPECT_EQ(read->query.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(read->query.value, "d");
    EXPECT_EQ(read->query.state, STATE_SYSTEM_FOCUSABLE) << "the selected row has the focus";
    EXPECT_EQ(read->focused, "Téléchargements");
    EXPECT_EQ(read->list.name, "Résultats");
    EXPECT_EQ(read->list.role, ROLE_SYSTEM_LIST);
    const std::vector<std::string> names = row_names(*read);
    EXPECT_EQ(
        std::vector<std::string>(names.begin(), names.begin() + 4),
        (std::vector<std::string>{"Téléchargements", "Documents", "Dossier personnel", "Bureau"}));
    EXPECT_EQ(read->rows[0].role, ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(read->rows[0].shortcut, "Entrée");
    EXPECT_EQ(read->rows[1].shortcut, "Ctrl+2");
    EXPECT_EQ(read->rows[1].state, kRow);
    EXPECT_EQ(read->rows[1].default_action, "Ouvrir");
    EXPECT_FALSE(read->rows[1].description.empty()) << "the subtitle";
    const RECT popup_rect = window_rect(popup_);
    const RECT second = read->rows[1].location;
    EXPECT_EQ(second.left - popup_rect.left, 12);
    EXPECT_EQ(second.top - popup_rect.top, 84 + 54);
    EXPECT_EQ(second.right - popup_rect.left, 708);

    press_key(VK_DOWN);
    ASSERT_TRUE(wait_selected(1));
    read = read_when(popup_, 6, 1);
    ASSERT_TRUE(read) << "the second row is the chosen one";
    EXPECT_EQ(read->rows[0].state, kRow);
    EXPECT_EQ(read->rows[0].shortcut, "Ctrl+1");
    EXPECT_EQ(read->focused, "Documents");
    EXPECT_EQ(read->rows[1].shortcut, "Entrée");

    type_text(L"zq");
    ASSERT_TRUE(wait_rows(0));
    read = read_when(popup_, 0, 0);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->query.value, "dzq");
    EXPECT_EQ(read->list.name, "Aucun résultat");
    EXPECT_EQ(read->focused, "Aucun résultat");

    // Nothing typed and nothing learnt yet: the query line has the focus.
    for (int i = 0; i < 3; ++i) {
        press_key(VK_BACK);
    }
    ASSERT_TRUE(wait_until([&] {
        read = read_popup(popup_);
        return read && read->query.value.empty();
    }));
    EXPECT_TRUE(read->rows.empty());
    EXPECT_EQ(read->focused, "Rechercher");
    EXPECT_EQ(read->query.state, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
}

TEST_F(ScreenReader, AReaderOpensARowAsAClickDoes) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    ASSERT_TRUE(read_when(popup_, 6, 0));
    EXPECT_TRUE(open_row(popup_, 1));
    ASSERT_TRUE(wait_history(1));
    EXPECT_EQ(history()[0].key(), "dir:documents");
    EXPECT_EQ(history()[0].query(), "d");
    EXPECT_TRUE(wait_hidden());
}

}  // namespace
}  // namespace talvo::e2e
