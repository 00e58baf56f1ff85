// The popup's page as drawing operations, checked against the places and
// colours written out by hand at 100 % and 150 %: the query line and its
// placeholder, the caret, the logo, six rows with the selected band, letter
// tiles or icons, names, subtitles and hints, and where each row is clicked.
#include <gtest/gtest.h>

#include <variant>

#include "core/page/palette.h"
#include "core/popup/popup_page.h"

namespace talvo {

namespace draw {
void PrintTo(const Text& t, std::ostream* out) {
    *out << "{\"" << t.text << "\" font " << t.font << " #" << std::hex << t.colour << std::dec
         << " {" << t.rect.left << ", " << t.rect.top << ", " << t.rect.right << ", "
         << t.rect.bottom << "} flags " << t.flags << "}";
}
}  // namespace draw

namespace {

using draw::Fill;
using draw::Icon;
using draw::Shape;
using draw::Text;
using Kind = Shape::Kind;

constexpr std::uint32_t kBackground = 0x262626, kQueryBox = 0x1C1C1C, kAccent = 0x357F87,
                        kPlaceholder = 0x555555, kText = 0xF2F2F2, kWhite = 0xFFFFFF,
                        kSelectedSubtitle = 0xD5E9EB, kSubtitle = 0x9A9A9A, kHint = 0x808080;
constexpr unsigned kVCenter = draw::kVCenter, kCenter = draw::kCenter | draw::kVCenter,
                   kRight = draw::kRight | draw::kVCenter;

std::vector<CatalogEntry> six_rows() {
    std::vector<CatalogEntry> rows;
    for (const char* name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"}) {
        rows.push_back(make_entry(std::string("app:") + name, name, std::string("C:\\") + name,
                                  LaunchTarget::open_path(name)));
    }
    return rows;
}

// Ten pixels a byte, whatever the font.
PopupPage page_of(const PopupPageView& view, std::string_view with_icon = {}) {
    return layout_popup_page(
        view, dark_palette(), [&](std::string_view key) { return key == with_icon; },
        [](std::string_view text, std::size_t) {
            return static_cast<std::int32_t>(10 * text.size());
        });
}

template <typename Item>
std::vector<Item> items_of(const PopupPage& page) {
    std::vector<Item> out;
    for (const draw::TextPassItem& item : page.items) {
        if (const auto* found = std::get_if<Item>(&item)) {
            out.push_back(*found);
        }
    }
    return out;
}

TEST(PopupPage, SixRowsAtOneHundredPercent) {
    const std::vector<CatalogEntry> rows = six_rows();
    const PopupPage page = page_of({"d", rows, 2, true, 1.0f}, "app:Echo");
    EXPECT_EQ(page.background, kBackground);
    ASSERT_EQ(page.shapes.size(), 2u + 1u + 5u) << "box, logo, band, a tile per row without icon";
    EXPECT_EQ(page.shapes[0], (Shape{Kind::RoundedRect, 12, 12, 634, 62, 10, kQueryBox}));
    EXPECT_EQ(page.shapes[1], (Shape{Kind::RoundedRect, 658, 18, 50, 50, 13, kAccent}));
    EXPECT_EQ(page.shapes[2], (Shape{Kind::RoundedRect, 12, 192, 696, 54, 10, kAccent}))
        << "the band on the third row";
    EXPECT_EQ(page.shapes[3], (Shape{Kind::RoundedRect, 24, 93, 36, 36, 8, 0x5A6A7A}));
    EXPECT_EQ(page.shapes[7].y, 84 + 54 * 5 + 9) << "Echo has its icon: no tile";

    const std::vector<Text> texts = items_of<Text>(page);
    EXPECT_EQ(texts[0], (Text{"d", 0, kText, {28, 12, 634, 74}, kVCenter}));
    EXPECT_EQ(texts[1], (Text{"T", 5, kWhite, {658, 18, 708, 68}, kCenter}));
    // Row 0: letter, name, subtitle, hint; row 2 selected: its subtitle and the Enter symbol.
    EXPECT_EQ(texts[2], (Text{"A", 6, kWhite, {24, 93, 60, 129}, kCenter}));
    EXPECT_EQ(texts[3],
              (Text{"Alpha", 1, kText, {74, 90, 618, 115}, kVCenter | draw::kEndEllipsis}));
    EXPECT_EQ(
        texts[4],
        (Text{"C:\\Alpha", 2, kSubtitle, {74, 115, 618, 133}, kVCenter | draw::kPathEllipsis}));
    EXPECT_EQ(texts[5], (Text{"Ctrl+1", 3, kHint, {618, 84, 692, 138}, kRight}));
    EXPECT_EQ(texts[12].colour, kSelectedSubtitle);
    EXPECT_EQ(texts[13], (Text{"\u21B5", 4, kWhite, {618, 192, 692, 246}, kRight}));
    EXPECT_EQ(items_of<Icon>(page), (std::vector<Icon>{{"app:Echo", {24, 309, 60, 345}}}));
    EXPECT_EQ(items_of<Fill>(page), (std::vector<Fill>{{{39, 27, 41, 59}, kText}}))
        << "the caret after the 10 pixels of \"d\"";
    ASSERT_EQ(page.row_regions.size(), 6u);
    EXPECT_EQ(page.row_regions[0], (layout::Rect{12, 84, 709, 138}));
    EXPECT_EQ(page.row_regions[5], (layout::Rect{12, 354, 709, 408}));
}

TEST(PopupPage, SixRowsAtOneHundredAndFiftyPercent) {
    const std::vector<CatalogEntry> rows = six_rows();
    const PopupPage page = page_of({"d", rows, 2, true, 1.5f});
    EXPECT_EQ(page.shapes[0], (Shape{Kind::RoundedRect, 18, 18, 951, 93, 15, kQueryBox}));
    EXPECT_EQ(page.shapes[1], (Shape{Kind::RoundedRect, 987, 27, 75, 75, 19.5f, kAccent}));
    EXPECT_EQ(page.shapes[2], (Shape{Kind::RoundedRect, 18, 288, 1044, 81, 15, kAccent}));
    EXPECT_EQ(page.shapes[3], (Shape{Kind::RoundedRect, 36, 140, 54, 54, 12, 0x5A6A7A}))
        << "a tile starts on whole pixels: R(93) = 140";
    const std::vector<Text> texts = items_of<Text>(page);
    EXPECT_EQ(texts[0].rect, (layout::Rect{42, 18, 951, 111}));
    EXPECT_EQ(texts[1].rect, (layout::Rect{987, 27, 1062, 102}));
    EXPECT_EQ(texts[2].rect, (layout::Rect{36, 140, 90, 194}));
    EXPECT_EQ(texts[3].rect, (layout::Rect{111, 135, 927, 173}));
    EXPECT_EQ(texts[4].rect, (layout::Rect{111, 173, 927, 200}));
    EXPECT_EQ(texts[5].rect, (layout::Rect{927, 126, 1038, 207}));
    EXPECT_EQ(items_of<Fill>(page), (std::vector<Fill>{{{54, 40, 57, 88}, kText}}));
    EXPECT_EQ(page.row_regions[1], (layout::Rect{18, 207, 1063, 288}));
}

TEST(PopupPage, ThePlaceholderALongQueryAndTheCaretOff) {
    const std::vector<CatalogEntry> none;
    const struct {
        const char* what;
        std::string query;
        bool caret_on;
        Text text;
        std::vector<Fill> caret;
    } cases[] = {
        {"nothing typed",
         "",
         true,
         {"Talvo", 0, kPlaceholder, {28, 12, 634, 74}, kVCenter},
         {{{29, 27, 31, 59}, kText}}},
        {"the caret's off phase",
         "",
         false,
         {"Talvo", 0, kPlaceholder, {28, 12, 634, 74}, kVCenter},
         {}},
        {"a query longer than the line shows its end",
         std::string(100, 'x') + "yz",
         true,
         {std::string(58, 'x') + "yz", 0, kText, {28, 12, 634, 74}, kVCenter},
         {{{631, 27, 633, 59}, kText}}},
    };
    for (const auto& c : cases) {
        const PopupPage page = page_of({c.query, none, 0, c.caret_on, 1.0f});
        EXPECT_EQ(page.shapes.size(), 2u) << c.what << ": no band without rows";
        EXPECT_EQ(items_of<Text>(page).front(), c.text) << c.what;
        EXPECT_EQ(items_of<Fill>(page), c.caret) << c.what;
        EXPECT_TRUE(page.row_regions.empty()) << c.what;
    }
}

// Two high-contrast themes as Windows ships them, in the order window, window
// text, highlight, highlight text, grey text.
constexpr SystemColours kWhiteOnBlack{0x000000, 0xFFFFFF, 0x1AEBFF, 0x000000, 0x3FF23F};
constexpr SystemColours kBlackOnWhite{0xFFFFFF, 0x000000, 0x37006E, 0xFFFFFF, 0x600000};

// Under a high-contrast theme the popup draws in the system colours alone,
// with a one-pixel frame (whole pixels) around itself, the query box and each
// letter tile; the selection is the highlight, and the Enter symbol marks it too.
TEST(PopupPage, HighContrastThemesDrawInTheSystemColoursWithFrames) {
    const std::vector<CatalogEntry> rows = six_rows();
    const struct {
        float scale;
        float px;  // one pixel of frame
        Shape popup, query_box, logo, band, tile;
    } scales[] = {
        {1.0f,
         1,
         {Kind::RoundedRect, 0, 0, 720, 420, 0, 0},
         {Kind::RoundedRect, 12, 12, 634, 62, 10, 0},
         {Kind::RoundedRect, 658, 18, 50, 50, 13, 0},
         {Kind::RoundedRect, 12, 192, 696, 54, 10, 0},
         {Kind::RoundedRect, 24, 93, 36, 36, 8, 0}},
        {1.5f,
         2,
         {Kind::RoundedRect, 0, 0, 1080, 630, 0, 0},
         {Kind::RoundedRect, 18, 18, 951, 93, 15, 0},
         {Kind::RoundedRect, 987, 27, 75, 75, 19.5f, 0},
         {Kind::RoundedRect, 18, 288, 1044, 81, 15, 0},
         {Kind::RoundedRect, 36, 140, 54, 54, 12, 0}},
    };
    for (const SystemColours& theme : {kWhiteOnBlack, kBlackOnWhite}) {
        const Palette palette = choose_palette(true, theme);
        for (const auto& c : scales) {
            SCOPED_TRACE(testing::Message()
                         << "window #" << std::hex << theme.window << " at " << c.scale);
            const auto in = [](Shape shape, std::uint32_t colour) {
                shape.colour = colour;
                return shape;
            };
            const auto inset = [&](Shape shape, std::uint32_t colour) {
                shape = in(shape, colour);
                shape.x += c.px, shape.y += c.px, shape.width -= 2 * c.px, shape.height -= 2 * c.px;
                shape.radius = std::max(shape.radius - c.px, 0.0f);
                return shape;
            };
            const PopupPage page = layout_popup_page(
                {"d", rows, 2, true, c.scale}, palette, [](std::string_view) { return false; },
                [](std::string_view text, std::size_t) {
                    return static_cast<std::int32_t>(10 * text.size());
                });
            EXPECT_EQ(page.background, theme.window);
            ASSERT_EQ(page.shapes.size(), 2u + 2u + 1u + 1u + 2u * 6u);
            EXPECT_EQ(page.shapes[0], in(c.popup, theme.window_text));
            EXPECT_EQ(page.shapes[1], inset(c.popup, theme.window));
            EXPECT_EQ(page.shapes[2], in(c.query_box, theme.window_text));
            EXPECT_EQ(page.shapes[3], inset(c.query_box, theme.window));
            EXPECT_EQ(page.shapes[4], in(c.logo, theme.highlight));
            EXPECT_EQ(page.shapes[5], in(c.band, theme.highlight));
            EXPECT_EQ(page.shapes[6], in(c.tile, theme.window_text));
            EXPECT_EQ(page.shapes[7], inset(c.tile, theme.window));

            const std::vector<Text> texts = items_of<Text>(page);
            const std::uint32_t expected[] = {
                theme.window_text,     // the query
                theme.highlight_text,  // the logo's letter
                theme.window_text,    theme.window_text, theme.window_text,
                theme.window_text,  // row 0: letter, name, subtitle, hint
                theme.window_text,    theme.window_text, theme.window_text, theme.window_text,
                theme.window_text,     // row 2, selected: its tile's letter on the tile
                theme.highlight_text,  // name
                theme.highlight_text,  // subtitle
                theme.highlight_text,  // the Enter symbol
            };
            for (std::size_t i = 0; i < std::size(expected); ++i) {
                EXPECT_EQ(texts[i].colour, expected[i]) << "text " << i << " " << texts[i].text;
            }
            EXPECT_EQ(texts[13].text, "\u21B5");
            EXPECT_EQ(items_of<Fill>(page).front().colour, theme.window_text) << "the caret";
        }
        const std::vector<CatalogEntry> none;
        const PopupPage empty = layout_popup_page(
            {"", none, 0, true, 1.0f}, palette, [](std::string_view) { return false; },
            [](std::string_view, std::size_t) { return 0; });
        EXPECT_EQ(items_of<Text>(empty).front().colour, theme.gray_text) << "the placeholder";
        EXPECT_EQ(empty.shapes[0], (Shape{Kind::RoundedRect, 0, 0, 720, 86, 0, theme.window_text}));
    }
    EXPECT_EQ(choose_palette(false, kWhiteOnBlack), dark_palette()) << "no theme: Talvo's own";
    EXPECT_FALSE(choose_palette(true, kWhiteOnBlack).dark_frame);
    EXPECT_EQ(choose_palette(true, kBlackOnWhite).popup.frame, 0x000000u) << "the border";
}

}  // namespace
}  // namespace talvo
