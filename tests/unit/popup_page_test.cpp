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

}  // namespace
}  // namespace talvo
