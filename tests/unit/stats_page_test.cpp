// The statistics page as drawing operations: where each card, bar, text and
// icon lands at a scale and scroll offset, the hover regions and captions,
// and the window's size, scrolling and hover rules.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/shell/tray_menu.h"
#include "core/stats/stats_page.h"

namespace talvo {

namespace layout {
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
}  // namespace layout

namespace draw {
void PrintTo(const Shape& s, std::ostream* out) {
    *out << "{kind " << static_cast<int>(s.kind) << ", " << s.x << ", " << s.y << ", " << s.width
         << " x " << s.height << ", r " << s.radius << ", #" << std::hex << s.colour << std::dec
         << "}";
}
}  // namespace draw

namespace {

using draw::Shape;
using draw::Text;
using Kind = Shape::Kind;

// 7 pixels a byte at scale 1, so widths are easy to follow.
std::int32_t seven_per_byte(std::string_view text, std::size_t) {
    return static_cast<std::int32_t>(text.size() * 7);
}

StatsModel sample_model() {
    StatsModel model;
    model.total = 12345;
    model.today = 3;
    model.daily_average = 2.46;
    model.distinct = 4;
    model.first_date_text = "3 janv. 2025";
    model.by_hour[9] = 4;
    model.by_hour[17] = 8;
    model.by_weekday = {1, 2, 0, 0, 0, 0, 0};
    model.last_30_days[29] = 2;
    for (std::size_t i = 0; i < kStatsDays; ++i) {
        model.day_labels[i] = std::to_string(i + 1) + " nov.";
    }
    model.top = {
        {"app:vlc", "VLC", 6}, {"app:a", "Alpha", 6}, {"app:b", "Beta", 3}, {"app:z", "Zéro", 0}};
    model.recent = {{"app:vlc", "VLC", "à l'instant"}, {"app:a", "Alpha", "hier, 23 h 50"}};
    model.learned = {{"vl", "VLC", 3}, {"a", "Alpha", 2}};
    return model;
}

StatsPage layout(
    const StatsModel& model, StatsPageView view = {},
    draw::HasIcon has_icon = [](std::string_view) { return false; }) {
    return layout_stats_page(model, view, dark_palette(), has_icon, seven_per_byte);
}

// The first text of the page with these words (in this font, when given).
const Text* find_text(const StatsPage& page, std::string_view text,
                      std::optional<std::size_t> font = std::nullopt) {
    for (const draw::TextPassItem& item : page.texts) {
        if (const Text* t = std::get_if<Text>(&item);
            t != nullptr && t->text == text && (!font || t->font == *font)) {
            return t;
        }
    }
    return nullptr;
}

std::vector<Shape> shapes_of(const StatsPage& page, std::uint32_t colour) {
    std::vector<Shape> found;
    std::copy_if(page.shapes.begin(), page.shapes.end(), std::back_inserter(found),
                 [&](const Shape& s) { return s.colour == colour; });
    return found;
}

TEST(StatsPage, WithoutLaunchesOnlyTheTitleAndTheEmptyState) {
    const StatsPage page = layout(StatsModel{});
    EXPECT_TRUE(page.shapes.empty());
    EXPECT_TRUE(page.hover_regions.empty());
    const std::vector<draw::TextPassItem> expected = {
        Text{"Statistiques", 0, 0xF2F2F2, {24, 18, 624, 56}, draw::kVCenter},
        Text{"Calculées sur ton PC. Rien n'est envoyé.",
             1,
             0xA3A3A3,
             {24, 56, 844, 76},
             draw::kVCenter},
        Text{"Aucun lancement pour l'instant.",
             4,
             0xF2F2F2,
             {0, 200, 880, 224},
             draw::kCenter | draw::kVCenter},
        Text{"Ouvre quelques apps avec Talvo (Alt+Espace) : tes statistiques apparaîtront ici.",
             5,
             0xA3A3A3,
             {0, 230, 880, 252},
             draw::kCenter | draw::kVCenter},
    };
    EXPECT_EQ(page.texts, expected);
}

TEST(StatsPage, CardsFiguresAndTextsAtScaleAndScroll) {
    const StatsModel model = sample_model();
    const struct {
        float scale;
        std::int32_t scroll;
        Shape first_border;
        Text total;
        Text learned_title;
    } cases[] = {
        {1.0f,
         0,
         {Kind::RoundedRect, 24, 92, 199, 78, 12, 0x333333},
         {"12\u202F345", 2, 0xF2F2F2, {40, 100, 207, 136}, draw::kVCenter},
         {"Ce que Talvo a appris", 4, 0xF2F2F2, {40, 754, 840, 776}, draw::kVCenter}},
        {1.5f,
         100,
         {Kind::RoundedRect, 36, 38, 298.5f, 117, 18, 0x333333},
         {"12\u202F345", 2, 0xF2F2F2, {60, 50, 311, 104}, draw::kVCenter},
         {"Ce que Talvo a appris", 4, 0xF2F2F2, {60, 1031, 1260, 1064}, draw::kVCenter}},
    };
    for (const auto& c : cases) {
        const StatsPage page = layout(model, {c.scale, c.scroll, std::nullopt});
        EXPECT_EQ(page.shapes.front(), c.first_border) << c.scale;
        ASSERT_NE(find_text(page, c.total.text), nullptr);
        EXPECT_EQ(*find_text(page, c.total.text), c.total) << c.scale;
        EXPECT_EQ(*find_text(page, c.learned_title.text), c.learned_title) << c.scale;
    }
    const StatsPage page = layout(model);
    EXPECT_EQ(shapes_of(page, 0x333333).size(), 4u + 6u) << "four figures and six cards";
    EXPECT_NE(find_text(page, "Depuis le 3 janv. 2025 · calculées sur ton PC, rien n'est envoyé"),
              nullptr);
    EXPECT_NE(find_text(page, "2,5"), nullptr);
    EXPECT_NE(find_text(page, "pic vers 17 h"), nullptr);
    EXPECT_NE(find_text(page, "plus actif le mardi"), nullptr);
    EXPECT_NE(find_text(page, "2,5 par jour en moyenne"), nullptr);
}

TEST(StatsPage, ChartsBarsRegionsLabelsAndHover) {
    const StatsModel model = sample_model();
    const StatsPage page = layout(model);
    ASSERT_EQ(page.hover_regions.size(), 24u + 7u + 30u) << "a region for every bar, empty or not";
    EXPECT_EQ(page.hover_regions[0], (HoverRegion{0, ChartKind::Hours, 464, 224, 480, 316}));
    EXPECT_EQ(page.hover_regions[24], (HoverRegion{0, ChartKind::Weekdays, 464, 378, 518, 470}));
    // The tallest bar fills the chart; the others are in proportion, at least 3 high.
    const std::vector<Shape> bars = shapes_of(page, 0x4FA9B3);
    const float slot = 376.0f / 24;
    const Shape tallest{Kind::VerticalBar, 464 + 17 * slot + slot * 0.14f, 232, slot * 0.72f, 66, 3,
                        0x4FA9B3};
    EXPECT_NE(std::find(bars.begin(), bars.end(), tallest), bars.end());
    EXPECT_EQ(std::count_if(bars.begin(), bars.end(),
                            [](const Shape& s) { return s.kind == Kind::VerticalBar; }),
              2 + 2 + 1)
        << "days without launches draw no bar";

    EXPECT_EQ(*find_text(page, "0 h"),
              (Text{"0 h", 6, 0x787878, {464, 302, 584, 318}, draw::kLeft}));
    EXPECT_EQ(*find_text(page, "23 h"),
              (Text{"23 h", 6, 0x787878, {720, 302, 840, 318}, draw::kRight}));
    EXPECT_EQ(*find_text(page, "6 h"),
              (Text{"6 h", 6, 0x787878, {526, 302, 606, 318}, draw::kCenter}));
    EXPECT_EQ(find_text(page, "lun")->flags, draw::kCenter);
    EXPECT_EQ(find_text(page, "aujourd'hui", 6)->rect, (layout::Rect{720, 700, 840, 716}));

    // Hovering an hour bar lights it and names its hour; an empty day still answers.
    const StatsPage hovered = layout(model, {1.0f, 0, ChartHover{ChartKind::Hours, 9}});
    EXPECT_EQ(shapes_of(hovered, 0x9ADCE3).size(), 1u);
    EXPECT_NE(find_text(hovered, "9 h · 4 lancements"), nullptr);
    EXPECT_EQ(find_text(hovered, "pic vers 17 h"), nullptr);
    const StatsPage empty_day = layout(model, {1.0f, 0, ChartHover{ChartKind::Days, 3}});
    EXPECT_NE(find_text(empty_day, "4 nov. · 0 lancement"), nullptr);
}

TEST(StatsPage, ListsIconsBarsAndLearnedChips) {
    StatsModel model = sample_model();
    model.top[0].name = std::string(300, 'x') + "\xF0\x9F\x98\x80 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
    const StatsPage page = layout(model, {}, [](std::string_view key) { return key == "app:vlc"; });
    // Most launched: equal counts give equal, full bars; a count of 0 no bar.
    const std::vector<Shape> bars = shapes_of(page, 0x4FA9B3);
    const auto horizontal = [&](float y) {
        return std::find_if(bars.begin(), bars.end(), [&](const Shape& s) {
            return s.kind == Kind::HorizontalBar && s.y == y;
        });
    };
    EXPECT_EQ(horizontal(241)->width, 156);
    EXPECT_EQ(horizontal(271)->width, 156);
    EXPECT_EQ(horizontal(301)->width, 78);
    EXPECT_EQ(horizontal(331), bars.end());
    const Text* name = find_text(page, model.top[0].name);
    ASSERT_NE(name, nullptr) << "a long name is passed whole, for the ellipsis";
    EXPECT_EQ(name->flags, draw::kVCenter | draw::kEndEllipsis);
    EXPECT_EQ(name->rect, (layout::Rect{70, 232, 210, 258}));

    // A loaded icon replaces the tile and its letter; the others keep both.
    const draw::Icon icon{"app:vlc", {40, 235, 60, 255}};
    EXPECT_NE(std::find(page.texts.begin(), page.texts.end(), draw::TextPassItem{icon}),
              page.texts.end());
    EXPECT_EQ(*find_text(page, "A"),
              (Text{"A", 7, 0xF2F2F2, {40, 265, 60, 285}, draw::kCenter | draw::kVCenter}));

    // "« vl »" is 8 bytes: 56 pixels wide, so its chip is 72 and the name follows.
    const std::vector<Shape> chips = shapes_of(page, 0x36393B);
    ASSERT_EQ(chips.size(), 2u);
    EXPECT_EQ(chips[0], (Shape{Kind::RoundedRect, 40, 792, 72, 22, 6, 0x36393B}));
    EXPECT_EQ(find_text(page, "→  VLC")->rect, (layout::Rect{122, 790, 402, 816}));
    EXPECT_EQ(find_text(page, "· 3 fois")->rect.left, 122 + 56 + 8);

    model.learned.clear();
    EXPECT_NE(find_text(layout(model),
                        "Pas encore assez de répétitions : choisis la même app deux "
                        "fois avec les mêmes lettres."),
              nullptr);
}

// Under a high-contrast theme every card, bar, tile and text of the page is in
// one of the theme's colours: texts, bars, card borders and tile frames in the
// window's text colour on its background, the hovered bar in the highlight.
TEST(StatsPage, HighContrastThemesDrawInTheSystemColours) {
    const SystemColours themes[] = {{0x000000, 0xFFFFFF, 0x1AEBFF, 0x000000, 0x3FF23F},
                                    {0xFFFFFF, 0x000000, 0x37006E, 0xFFFFFF, 0x600000}};
    const StatsModel model = sample_model();
    for (const SystemColours& theme : themes) {
        const Palette palette = choose_palette(true, theme);
        for (const float scale : {1.0f, 1.5f}) {
            SCOPED_TRACE(testing::Message()
                         << "window #" << std::hex << theme.window << " at " << scale);
            const StatsPage page = layout_stats_page(
                model, {scale, 0, ChartHover{ChartKind::Hours, 17}}, palette,
                [](std::string_view) { return false; }, seven_per_byte);
            for (const Shape& shape : page.shapes) {
                const bool bar = shape.kind != Kind::RoundedRect;
                const bool hovered = bar && shape.colour == theme.highlight;
                EXPECT_TRUE(shape.colour == (bar && !hovered ? theme.window_text : shape.colour))
                    << "a bar";
                EXPECT_TRUE(shape.colour == theme.window || shape.colour == theme.window_text ||
                            hovered)
                    << "shape at " << shape.x << ", " << shape.y;
            }
            EXPECT_EQ(std::count_if(page.shapes.begin(), page.shapes.end(),
                                    [&](const Shape& s) { return s.colour == theme.highlight; }),
                      1)
                << "the hovered bar alone";
            for (const draw::TextPassItem& item : page.texts) {
                if (const Text* text = std::get_if<Text>(&item)) {
                    EXPECT_EQ(text->colour, theme.window_text) << text->text;
                }
            }
            // The tile of "Alpha", second in the most-launched card, framed by one pixel.
            const Shape frame{Kind::RoundedRect, 40 * scale, 265 * scale,      20 * scale,
                              20 * scale,        5 * scale,  theme.window_text};
            const Shape fill{Kind::RoundedRect, 41 * scale, 266 * scale, 18 * scale,
                             18 * scale,        4 * scale,  theme.window};
            const auto at = std::find(page.shapes.begin(), page.shapes.end(), frame);
            ASSERT_NE(at, page.shapes.end());
            EXPECT_EQ(*(at + 1), fill);
        }
    }
}

// Places and sizes that a slip of one number would move: the key-figure cards,
// a card's inner fill, the most-launched bars against the first row, the bar
// corners, every axis label, a hovered weekday, the third learned pair.
TEST(StatsPage, PlacesAndProportionsOfEachElement) {
    StatsModel model = sample_model();
    model.top = {{"app:a", "Alpha", 10}, {"app:b", "Beta", 5}, {"app:c", "Gamma", 1}};
    model.learned = {{"a", "Alpha", 5}, {"b", "Beta", 4}, {"c", "Gamma", 3}, {"d", "Delta", 2}};
    model.by_hour[17] = 40;
    model.by_hour[3] = 1;  // 1 of 40: a bar of the least height, 3 pixels
    const StatsPage page = layout(model);

    const std::vector<Shape> borders = shapes_of(page, 0x333333);
    const std::vector<Shape> fills = shapes_of(page, 0x262626);
    for (std::size_t i = 0; i < 4; ++i) {
        const float x = 24 + 211.0f * static_cast<float>(i);
        EXPECT_EQ(borders[i], (Shape{Kind::RoundedRect, x, 92, 199, 78, 12, 0x333333})) << i;
        EXPECT_EQ(fills[i], (Shape{Kind::RoundedRect, x + 1, 93, 197, 76, 11, 0x262626})) << i;
    }
    EXPECT_EQ(fills[4], (Shape{Kind::RoundedRect, 25, 187, 406, 294, 11, 0x262626}))
        << "the first card's fill, one pixel inside its border";

    const std::vector<Shape> bars = shapes_of(page, 0x4FA9B3);
    std::vector<Shape> horizontal;
    std::copy_if(bars.begin(), bars.end(), std::back_inserter(horizontal),
                 [](const Shape& s) { return s.kind == Kind::HorizontalBar; });
    ASSERT_EQ(horizontal.size(), 3u);
    EXPECT_EQ(horizontal[0], (Shape{Kind::HorizontalBar, 220, 241, 156, 8, 4, 0x4FA9B3}));
    EXPECT_EQ(horizontal[1], (Shape{Kind::HorizontalBar, 220, 271, 78, 8, 4, 0x4FA9B3}));
    EXPECT_FLOAT_EQ(horizontal[2].width, 15.6f) << "scaled by the first row, not by the sum";
    const auto shortest = std::find_if(bars.begin(), bars.end(), [](const Shape& s) {
        return s.kind == Kind::VerticalBar && s.height == 3;
    });
    ASSERT_NE(shortest, bars.end());
    EXPECT_EQ(shortest->y, 295);
    EXPECT_EQ(shortest->radius, 1.5f) << "a corner radius of at most half the height";

    for (const char* day : {"lun", "mar", "mer", "jeu", "ven", "sam", "dim"}) {
        EXPECT_NE(find_text(page, day, 6), nullptr) << day;
    }
    const struct {
        const char* label;
        layout::Rect rect;
    } hour_labels[] = {{"0 h", {464, 302, 584, 318}},
                       {"6 h", {526, 302, 606, 318}},
                       {"12 h", {620, 302, 700, 318}},
                       {"18 h", {714, 302, 794, 318}},
                       {"23 h", {720, 302, 840, 318}}};
    for (const auto& label : hour_labels) {
        ASSERT_NE(find_text(page, label.label, 6), nullptr) << label.label;
        EXPECT_EQ(find_text(page, label.label, 6)->rect, label.rect) << label.label;
    }

    // "« c »" is 7 bytes, 49 pixels: the third pair's chip, below the first two;
    // the fourth starts the second column.
    const std::vector<Shape> chips = shapes_of(page, 0x36393B);
    ASSERT_EQ(chips.size(), 4u);
    EXPECT_EQ(chips[2], (Shape{Kind::RoundedRect, 40, 852, 65, 22, 6, 0x36393B}));
    EXPECT_EQ(chips[3], (Shape{Kind::RoundedRect, 448, 792, 65, 22, 6, 0x36393B}));
    EXPECT_EQ(find_text(page, "→  Gamma")->rect, (layout::Rect{115, 850, 395, 876}));

    const StatsPage hovered = layout(model, {1.0f, 0, ChartHover{ChartKind::Weekdays, 1}});
    EXPECT_NE(find_text(hovered, "mardi · 2 lancements"), nullptr);
    EXPECT_EQ(find_text(hovered, "plus actif le mardi"), nullptr);
}

TEST(StatsWindowRules, SizeScrollWheelKeysAndHover) {
    EXPECT_EQ(stats_client_height(1040, 1.0f), 914);
    EXPECT_EQ(stats_client_height(700, 1.0f), 620);
    EXPECT_EQ(stats_client_height(1000, 1.5f), 880);

    const struct {
        std::int32_t scroll;
        std::int64_t delta;
        std::int32_t client;
        std::int32_t expected;
    } scrolls[] = {{0, -48, 620, 0},    {0, 100000, 620, 294}, {200, 48, 620, 248},
                   {294, 64, 620, 294}, {50, 0, 914, 0},       {10, 5, 2000, 0}};
    for (const auto& c : scrolls) {
        EXPECT_EQ(clamped_scroll(c.scroll, c.delta, c.client, 1.0f), c.expected)
            << c.scroll << " + " << c.delta;
    }
    EXPECT_EQ(wheel_step(-120, 1.0f), 64) << "towards the user: further down";
    EXPECT_EQ(wheel_step(120, 1.0f), -64);
    EXPECT_EQ(wheel_step(-120, 1.5f), 96);
    EXPECT_EQ(wheel_step(-60, 1.0f), 32);
    EXPECT_EQ(wheel_step(1, 1.0f), 0) << "integer division toward zero";
    EXPECT_EQ(scroll_step(StatsKey::PageDown, 620, 1.0f), 560);
    EXPECT_EQ(scroll_step(StatsKey::Space, 620, 1.0f), 560);
    EXPECT_EQ(scroll_step(StatsKey::PageUp, 620, 1.0f), -560);
    EXPECT_EQ(scroll_step(StatsKey::Up, 620, 1.5f), -72);
    EXPECT_EQ(scroll_step(StatsKey::End, 620, 1.0f), 100000);

    const std::vector<HoverRegion> regions = layout(sample_model()).hover_regions;
    EXPECT_EQ(hover_at(regions, 464, 224, 0), (ChartHover{ChartKind::Hours, 0}));
    EXPECT_EQ(hover_at(regions, 480, 224, 0), (ChartHover{ChartKind::Hours, 1}));
    EXPECT_EQ(hover_at(regions, 464, 124, 100), (ChartHover{ChartKind::Hours, 0})) << "scrolled";
    EXPECT_EQ(hover_at(regions, 463, 250, 0), std::nullopt);
    EXPECT_EQ(hover_at(regions, 500, 316, 0), std::nullopt) << "bottom edge excluded";
}

TEST(TrayMenu, ItemsIdsAndChoices) {
    using K = TrayMenuItem::Kind;
    const std::vector<TrayMenuItem> plain = tray_menu(false, {});
    ASSERT_EQ(plain.size(), 8u);
    EXPECT_EQ(plain[0],
              (TrayMenuItem{K::Command, "Ouvrir Talvo\tAlt+Espace", 1, false, false, {}}));
    EXPECT_EQ(plain[1], (TrayMenuItem{K::Command, "Statistiques…", 4, false, false, {}}));
    EXPECT_EQ(plain[2].text, "Applications masquées");
    EXPECT_EQ(
        plain[2].children,
        (std::vector<TrayMenuItem>{{K::Command,
                                    "Aucune (Ctrl+Suppr ou clic droit dans Talvo pour masquer)",
                                    0,
                                    true,
                                    false,
                                    {}}}));
    EXPECT_EQ(plain[3], (TrayMenuItem{K::Command, "Effacer l'historique…", 5, false, false, {}}))
        << "after the hidden entries, before their separator";
    EXPECT_EQ(plain[4].kind, K::Separator);
    EXPECT_EQ(plain[5],
              (TrayMenuItem{K::Command, "Lancer au démarrage de Windows", 2, false, false, {}}));
    EXPECT_EQ(plain[7], (TrayMenuItem{K::Command, "Quitter Talvo", 3, false, false, {}}));

    const std::vector<HiddenMenuItem> hidden = {
        {"app:a", "Alpha"}, {"dir:music", "Musique"}, {"app:gone", "gone"}};
    const std::vector<TrayMenuItem> full = tray_menu(true, hidden);
    EXPECT_TRUE(full[5].checked);
    ASSERT_EQ(full[2].children.size(), 5u);
    EXPECT_EQ(full[2].children[0],
              (TrayMenuItem{K::Command, "Réafficher « Alpha »", 100, false, false, {}}));
    EXPECT_EQ(full[2].children[2].id, 102u);
    EXPECT_EQ(full[2].children[3].kind, K::Separator);
    EXPECT_EQ(full[2].children[4],
              (TrayMenuItem{K::Command, "Tout réafficher", 50, false, false, {}}));

    using C = TrayChoice::Kind;
    EXPECT_EQ(tray_choice(100, hidden), (TrayChoice{C::ShowHidden, "app:a"})) << "the first";
    EXPECT_EQ(tray_choice(101, hidden), (TrayChoice{C::ShowHidden, "dir:music"}));
    EXPECT_EQ(tray_choice(103, hidden), (TrayChoice{C::Nothing, {}})) << "past the pairs shown";
    EXPECT_EQ(tray_choice(0, hidden), (TrayChoice{C::Nothing, {}})) << "dismissed";
    EXPECT_EQ(tray_choice(50, hidden).kind, C::ShowAll);
    EXPECT_EQ(tray_choice(2, {}).kind, C::Autostart);
    EXPECT_EQ(tray_choice(3, {}).kind, C::Quit);
    EXPECT_EQ(tray_choice(5, {}).kind, C::ClearHistory);
}

TEST(TrayMenu, TheKeyboardGoesBackToTheTrayUnlessAWindowShows) {
    using C = TrayChoice::Kind;
    for (const C kind : {C::Open, C::Stats, C::ClearHistory}) {
        EXPECT_TRUE(tray_choice_shows_window(kind)) << static_cast<int>(kind);
    }
    for (const C kind : {C::Nothing, C::ShowHidden, C::ShowAll, C::Autostart, C::Quit}) {
        EXPECT_FALSE(tray_choice_shows_window(kind)) << static_cast<int>(kind);
    }
    using std::chrono::milliseconds;
    EXPECT_TRUE(tray_add_retry_continues(milliseconds(2000)));
    EXPECT_TRUE(tray_add_retry_continues(milliseconds(119999)));
    EXPECT_FALSE(tray_add_retry_continues(milliseconds(120000))) << "two minutes at most";
    EXPECT_EQ(kTrayAddRetryInterval, milliseconds(2000));
    EXPECT_EQ(kTrayTip, "Talvo (Alt+Espace)");
}

// By the numbers Windows sends: WM_CONTEXTMENU 0x7B, WM_LBUTTONDOWN 0x201,
// WM_LBUTTONUP 0x202, WM_RBUTTONDOWN 0x204, WM_RBUTTONUP 0x205, NIN_SELECT
// 0x400, NIN_KEYSELECT 0x401 (Windows' own names would hide a misnumbering).
TEST(TrayMenu, EachIconEventActsOnceByTheCallbackVersion) {
    using A = TrayAction;
    const struct {
        std::uint32_t event;
        bool version4;
        TrayAction action;
    } cases[] = {
        {0x0202, true, A::Click},  {0x0400, true, A::None},
        {0x0205, true, A::None},   {0x007B, true, A::MenuAtAnchor},
        {0x0401, true, A::Toggle}, {0x0201, true, A::None},
        {0x0204, true, A::None},   {0x0203, true, A::None},  // a double click
        {0x0202, false, A::Click}, {0x0205, false, A::MenuAtPointer},
        {0x007B, false, A::None},  {0x0401, false, A::None},
        {0x0204, false, A::None},  {0x0400, false, A::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tray_action(c.event, c.version4), c.action)
            << "event 0x" << std::hex << c.event << (c.version4 ? " v4" : " legacy");
    }
}

TEST(TrayIcon, ShowsItsTipAndTogglesOncePerEnter) {
    EXPECT_EQ(kTrayIconFlags, 0x87u) << "message, icon, tip, and the tip shown under version 4";
    using std::chrono::milliseconds;
    const milliseconds double_click(500);
    const struct {
        std::optional<std::chrono::steady_clock::duration> since_last_acting;
        bool acts;
    } cases[] = {
        {std::nullopt, true},       {milliseconds(0), false},  {milliseconds(30), false},
        {milliseconds(500), false}, {milliseconds(501), true}, {milliseconds(4000), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(key_select_acts(c.since_last_acting, double_click), c.acts)
            << (c.since_last_acting ? c.since_last_acting->count() : -1);
    }
}

TEST(TrayClick, HidesWhenShownOrJustHidden) {
    using std::chrono::milliseconds;
    const struct {
        bool shown;
        std::optional<std::chrono::steady_clock::duration> since_hide;
        bool hides;
    } cases[] = {{true, std::nullopt, true},        {false, std::nullopt, false},
                 {false, milliseconds(100), true},  {false, milliseconds(399), true},
                 {false, milliseconds(400), false}, {true, milliseconds(5000), true}};
    for (const auto& c : cases) {
        EXPECT_EQ(tray_click_hides(c.shown, c.since_hide), c.hides) << c.shown;
    }
}

}  // namespace
}  // namespace talvo
