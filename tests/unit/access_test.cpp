// What a screen reader reads: the popup's dialog, query line, list and rows
// (names, subtitles, hints, states, places), the notifications after a
// change, and the statistics page's lines taken from its drawn texts.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/popup/popup_access.h"
#include "core/stats/stats_access.h"

namespace talvo {
namespace access {
void PrintTo(const Element& e, std::ostream* out) {
    *out << "{role " << static_cast<int>(e.role) << ", \"" << e.name << "\", value \"" << e.value
         << "\", \"" << e.description << "\", \"" << e.shortcut << "\", states " << e.states
         << ", {" << e.rect.left << ", " << e.rect.top << ", " << e.rect.right << ", "
         << e.rect.bottom << "}}";
}
}  // namespace access

namespace {

using access::Role;

std::vector<CatalogEntry> rows_named(std::initializer_list<const char*> names) {
    std::vector<CatalogEntry> rows;
    for (const char* name : names) {
        rows.push_back(make_entry(std::string("dir:") + name, name, std::string("C:\\") + name,
                                  LaunchTarget::open_path(name)));
    }
    return rows;
}

std::vector<std::string> names(const std::vector<access::Element>& elements) {
    std::vector<std::string> out;
    for (const access::Element& e : elements) {
        out.push_back(e.name);
    }
    return out;
}

TEST(PopupAccess, TheDialogItsQueryAndTheListByRowCount) {
    const std::vector<CatalogEntry> none;
    const std::vector<CatalogEntry> one = rows_named({"Téléchargements"});
    const std::vector<CatalogEntry> six =
        rows_named({"Téléchargements", "Documents", "Dossier personnel", "Bureau", "b", "c"});
    const struct {
        const char* what;
        PopupAccessView view;
        const char* list_name;
        layout::Rect window;
        PopupFocus focus;  // one owner at a time
    } cases[] = {
        {"hidden, nothing typed",
         {"", none, 0, false, 1.0f},
         "Résultats",
         {0, 0, 720, 86},
         PopupFocus::None},
        {"shown, nothing typed, no suggestion",
         {"", none, 0, true, 1.0f},
         "Résultats",
         {0, 0, 720, 86},
         PopupFocus::Query},
        {"nothing found",
         {"zz", none, 0, true, 1.0f},
         "Aucun résultat",
         {0, 0, 720, 86},
         PopupFocus::List},
        {"one row", {"telech", one, 0, true, 1.0f}, "Résultats", {0, 0, 720, 150}, PopupFocus::Row},
        {"six rows at 150 %",
         {"d", six, 2, true, 1.5f},
         "Résultats",
         {0, 0, 1080, 630},
         PopupFocus::Row},
        {"hidden with rows",
         {"d", six, 2, false, 1.0f},
         "Résultats",
         {0, 0, 720, 420},
         PopupFocus::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(popup_focus(c.view), c.focus);
        const access::Element window = popup_window_element(c.view);
        EXPECT_EQ(window.role, Role::Dialog);
        EXPECT_EQ(window.name, "Talvo");
        EXPECT_EQ(window.states, c.view.shown ? 0u : access::kInvisible);
        EXPECT_EQ(window.rect, c.window);
        const access::Element query = popup_query_element(c.view);
        EXPECT_EQ(query.role, Role::Text);
        EXPECT_EQ(query.name, "Rechercher");
        EXPECT_EQ(query.value, c.view.query);
        EXPECT_EQ(query.states,
                  access::kFocusable | (c.focus == PopupFocus::Query ? access::kFocused : 0u));
        const access::Element list = popup_list_element(c.view);
        EXPECT_EQ(list.role, Role::List);
        EXPECT_EQ(list.name, c.list_name);
        EXPECT_EQ(list.states, c.focus == PopupFocus::List ? access::kFocused : 0u);
        const std::vector<access::Element> rows = popup_row_elements(c.view);
        EXPECT_EQ(rows.size(), c.view.rows.size());
        std::size_t focused_rows = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if ((rows[i].states & access::kFocused) != 0) {
                ++focused_rows;
                EXPECT_EQ(i, c.view.selected);
            }
        }
        EXPECT_EQ(focused_rows, c.focus == PopupFocus::Row ? 1u : 0u);
    }
    EXPECT_EQ(popup_query_element({"d", six, 0, true, 1.5f}).rect,
              (layout::Rect{18, 18, 969, 111}));
    EXPECT_EQ(popup_query_element({"d", six, 0, true, 1.0f}).rect, (layout::Rect{12, 12, 646, 74}));
}

TEST(PopupAccess, TheListCoversItsRowsAtEachScale) {
    const std::vector<CatalogEntry> none;
    const std::vector<CatalogEntry> one = rows_named({"a"});
    const std::vector<CatalogEntry> six = rows_named({"a", "b", "c", "d", "e", "f"});
    const struct {
        PopupAccessView view;
        layout::Rect list;
    } cases[] = {
        {{"zz", none, 0, true, 1.0f}, {12, 84, 708, 84}},
        {{"a", one, 0, true, 1.0f}, {12, 84, 708, 138}},
        {{"a", six, 0, true, 1.0f}, {12, 84, 708, 408}},
        {{"a", six, 0, true, 1.5f}, {18, 126, 1062, 612}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(popup_list_element(c.view).rect, c.list) << c.view.rows.size() << " rows";
    }
}

TEST(PopupAccess, RowsNamedAsPaintedWithTheirHintsAndTheSelection) {
    const std::vector<CatalogEntry> rows = rows_named({"Téléchargements", "Documents", "Bureau"});
    const std::vector<access::Element> items = popup_row_elements({"d", rows, 1, true, 1.0f});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(names(items), (std::vector<std::string>{"Téléchargements", "Documents", "Bureau"}));
    const struct {
        std::size_t row;
        const char* shortcut;
        std::uint32_t states;
        layout::Rect rect;
    } expected[] = {
        {0, "Ctrl+1", access::kFocusable | access::kSelectable, {12, 84, 708, 138}},
        {1,
         "Entrée",
         access::kFocusable | access::kSelectable | access::kSelected | access::kFocused,
         {12, 138, 708, 192}},
        {2, "Ctrl+3", access::kFocusable | access::kSelectable, {12, 192, 708, 246}},
    };
    for (const auto& e : expected) {
        const access::Element& item = items[e.row];
        EXPECT_EQ(item.role, Role::ListItem) << e.row;
        EXPECT_EQ(item.description, rows[e.row].subtitle) << e.row;
        EXPECT_EQ(item.shortcut, e.shortcut) << e.row;
        EXPECT_EQ(item.states, e.states) << e.row;
        EXPECT_EQ(item.default_action, "Ouvrir") << e.row;
        EXPECT_EQ(item.rect, e.rect) << e.row;
    }
    EXPECT_EQ(row_hint(8), "Ctrl+9");
}

TEST(PopupAccess, NotificationsAfterTypingAndMoving) {
    using K = AccessEvent::Kind;
    using T = AccessEvent::Target;
    const AccessEvent value{K::ValueChange, T::Query};
    const AccessEvent reorder{K::Reorder, T::List};
    const struct {
        const char* what;
        PopupChange change;
        std::size_t rows;
        std::size_t selected;
        bool query_empty;
        std::vector<AccessEvent> events;
    } cases[] = {
        {"typed, rows found: the first is said",
         PopupChange::Recomputed,
         6,
         0,
         false,
         {value, reorder, {K::Focus, T::Row, 0}, {K::Selection, T::Row, 0}}},
        {"typed, nothing found: the list is said",
         PopupChange::Recomputed,
         0,
         0,
         false,
         {value, reorder, {K::Focus, T::List}}},
        {"emptied without suggestions: the query line is said",
         PopupChange::Recomputed,
         0,
         0,
         true,
         {value, reorder, {K::Focus, T::Query}}},
        {"Down",
         PopupChange::SelectionMoved,
         6,
         4,
         false,
         {{K::Focus, T::Row, 4}, {K::Selection, T::Row, 4}}},
        {"Up without rows", PopupChange::SelectionMoved, 0, 0, false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(popup_access_events(c.change, c.rows, c.selected, c.query_empty), c.events)
            << c.what;
    }
}

// 7 pixels a byte, as in the page's own tests.
std::int32_t seven_per_byte(std::string_view text, std::size_t) {
    return static_cast<std::int32_t>(text.size() * 7);
}

StatsPage page_of(const StatsModel& model, StatsPageView view = {}) {
    return layout_stats_page(
        model, view, dark_palette(), [](std::string_view) { return false; }, seven_per_byte);
}

TEST(StatsAccess, TheEmptyPageAndTheDocument) {
    EXPECT_EQ(names(stats_access_elements(page_of(StatsModel{}))),
              (std::vector<std::string>{
                  "Statistiques", "Calculées sur ton PC. Rien n'est envoyé.",
                  "Aucun lancement pour l'instant.",
                  "Ouvre quelques apps avec Talvo (Alt+Espace) : tes statistiques apparaîtront "
                  "ici."}));
    const access::Element document = stats_document_element({0, 0, 880, 620}, false);
    EXPECT_EQ(document.role, Role::Document);
    EXPECT_EQ(document.name, "Statistiques");
    EXPECT_EQ(document.states, access::kReadOnly | access::kFocusable);
    EXPECT_EQ(stats_document_element({0, 0, 880, 620}, true).states,
              access::kReadOnly | access::kFocusable | access::kFocused)
        << "while its window is active";
}

// A page drawn by hand: what each line is said as, and where it is.
TEST(StatsAccess, ALineOfSeveralPartsIsSaidOnceOverTheirUnion) {
    StatsPage page;
    const auto text = [&](std::string s, layout::Rect r) {
        page.texts.push_back(draw::Text{std::move(s), 0, 0, r, draw::kLeft});
        return page.texts.size() - 1;
    };
    const std::size_t value = text("4", {40, 10, 60, 40});
    const std::size_t label = text("lancements  au   total", {64, 20, 200, 58});
    const std::size_t chip = text("« telech »", {30, 100, 90, 120});
    const std::size_t arrow = text("· Téléchargements", {20, 96, 200, 124});
    const std::size_t times = text("3 fois", {210, 104, 260, 118});
    page.spoken = {{{value, ""}, {label, " "}},
                   {{chip, ""}, {arrow, " → "}, {times, ", "}},
                   {{99, ""}}};  // a part past the texts says nothing
    const std::vector<access::Element> lines = stats_access_elements(page);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].name, "4 lancements au total") << "runs of spaces said once";
    EXPECT_EQ(lines[0].rect, (layout::Rect{40, 10, 200, 58}));
    EXPECT_EQ(lines[1].name, "« telech » → Téléchargements, 3 fois") << "the dot is the joiner's";
    EXPECT_EQ(lines[1].rect, (layout::Rect{20, 96, 260, 124}))
        << "a later part further left and up";
    EXPECT_EQ(lines[1].states, access::kReadOnly);
}

StatsModel seeded_model() {
    StatsModel model;
    model.total = 4;
    model.today = 4;
    model.daily_average = 4.0 / 30;
    model.distinct = 2;
    model.first_date_text = "9 déc. 2026";
    model.by_hour[14] = 4;
    model.by_weekday[2] = 4;
    model.last_30_days[29] = 4;
    for (std::size_t i = 0; i < kStatsDays; ++i) {
        model.day_labels[i] = std::to_string(i + 1) + " nov.";
    }
    model.top = {{"dir:downloads", "Téléchargements", 3}, {"app:vlc", "VLC", 1}};
    model.recent = {{"dir:downloads", "Téléchargements", "il y a 1 min"}};
    model.learned = {{"telech", "Téléchargements", 3}};
    return model;
}

TEST(StatsAccess, TheSeededPageInReadingOrderWithItsPlaces) {
    const StatsPage page = page_of(seeded_model(), {1.0f, 100, std::nullopt});
    const std::vector<access::Element> elements = stats_access_elements(page);
    EXPECT_EQ(names(elements),
              (std::vector<std::string>{
                  "Statistiques",
                  "Depuis le 9 déc. 2026 · calculées sur ton PC, rien n'est envoyé",
                  "4 lancements au total",
                  "4 aujourd'hui",
                  "0,1 par jour en moyenne (30 j)",
                  "2 apps et dossiers différents",
                  "Les plus lancées",
                  "Téléchargements, 3",
                  "VLC, 1",
                  "Par heure",
                  "pic vers 14 h",
                  "Par jour de la semaine",
                  "plus actif le mercredi",
                  "Derniers lancements",
                  "Téléchargements, il y a 1 min",
                  "30 derniers jours",
                  "0,1 par jour en moyenne",
                  "Ce que Talvo a appris",
                  "ce que tu tapes → ce que tu choisis le plus",
                  "« telech » → Téléchargements, 3 fois",
              }));
    for (const access::Element& e : elements) {
        EXPECT_EQ(e.role, Role::StaticText) << e.name;
        EXPECT_EQ(e.states, access::kReadOnly) << e.name;
    }
    // Value and label together, less the scroll; a pair's chip, name and count.
    EXPECT_EQ(elements[2].rect, (layout::Rect{40, 0, 207, 58}));
    EXPECT_EQ(elements.back().rect.top, 790 - 100);
    EXPECT_EQ(elements.back().rect.left, 40);
}

TEST(StatsAccess, AHoveredBarIsSaidByItsCaption) {
    const StatsPage page = page_of(seeded_model(), {1.0f, 0, ChartHover{ChartKind::Hours, 14}});
    const std::vector<std::string> said = names(stats_access_elements(page));
    EXPECT_NE(std::find(said.begin(), said.end(), "14 h · 4 lancements"), said.end());
    EXPECT_EQ(std::find(said.begin(), said.end(), "pic vers 14 h"), said.end());
}

}  // namespace
}  // namespace talvo
