// The popup's window-free decisions: switches, query edits, icon pixels,
// placement, hit testing, letter tiles and query fitting.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "core/catalog/icon_pixels.h"
#include "core/page/letter_tile.h"
#include "core/page/palette.h"
#include "core/popup/popup_layout.h"
#include "core/popup/popup_show.h"
#include "core/popup/query_edit.h"
#include "core/shell/channel.h"
#include "core/shell/launcher_args.h"
#include "core/shell/launcher_protocol.h"
#include "core/shell/rescan.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

TEST(LauncherSwitches, ExactWholeArgumentsAnywhere) {
    const auto s = parse_switches({"C:\\talvo.exe", "--hidden", "--preview-stats"});
    EXPECT_TRUE(s.hidden);
    EXPECT_TRUE(s.preview_stats);
    EXPECT_FALSE(s.diag_focus);
    const auto other = parse_switches({"--HIDDEN", "--hidden=1", "-hidden", "--diag-focus "});
    EXPECT_FALSE(other.hidden);
    EXPECT_FALSE(other.diag_focus);
    EXPECT_TRUE(parse_switches({"--diag-focus"}).diag_focus);  // even as the program path
}

// Launchers and setups of other versions find and ask each other by these:
// a renumbered message or a renamed class would break an upgrade.
TEST(LauncherProtocol, TheNamesAndNumbersOtherVersionsRelyOn) {
    EXPECT_EQ(std::wstring_view(protocol::kWindowClass), L"TalvoWindow");
    EXPECT_EQ(std::wstring_view(protocol::kStatsWindowClass), L"TalvoStats");
    EXPECT_EQ(std::wstring_view(protocol::kSingleInstanceMutex), L"Local\\TalvoApp.Singleton");
    EXPECT_EQ(protocol::kShowRequestMessage, 0x8003u) << "WM_APP + 3";
    EXPECT_EQ(protocol::kQuitRequestMessage, 0x8005u) << "WM_APP + 5";
    EXPECT_EQ(protocol::kHiddenSwitch, "--hidden");
    EXPECT_EQ(std::wstring_view(protocol::kHiddenSwitchWide), L"--hidden");
}

TEST(LauncherSwitches, StartupMessageQuotesAndEscapesArguments) {
    EXPECT_EQ(startup_message("C:\\T\\talvo.exe", {"--hidden"}, false),
              "démarrage C:\\T\\talvo.exe [\"--hidden\"] (dans un job : false)");
    EXPECT_EQ(startup_message("", {}, true), "démarrage  [] (dans un job : true)");
    EXPECT_EQ(quoted_argument_list({"a\"b", "c\\d", "é"}), "[\"a\\\"b\", \"c\\\\d\", \"é\"]");
}

TEST(QueryEdit, BackspaceRemovesOneWholeCharacter) {
    std::string q = "ré€𝄞";
    erase_last_character(q);
    EXPECT_EQ(q, "ré€");
    erase_last_character(q);
    EXPECT_EQ(q, "ré");
    erase_last_character(q);
    EXPECT_EQ(q, "r");
    erase_last_character(q);
    erase_last_character(q);  // on an empty query nothing happens
    EXPECT_EQ(q, "");
}

TEST(QueryEdit, CtrlBackspaceRemovesTheLastWord) {
    const std::pair<const char*, const char*> cases[] = {
        {"visual studio  ", "visual "},
        {"notepad", ""},
        {"ma  ", ""},
        {"mon app ", "mon "},
        {"a b c", "a b "},
        {" x", " "},
        {"a\tb", ""},            // a tab is white space but not a word break
        {"x \xE2\x80\xAF", ""},  // trailing narrow no-break space trimmed first
        {"", ""},
    };
    for (const auto& [before, after] : cases) {
        std::string q = before;
        erase_last_word(q);
        EXPECT_EQ(q, after) << '"' << before << '"';
    }
}

TEST(QueryEdit, PasteUsesTheFirstLineOnly) {
    EXPECT_EQ(first_line("abc\r\nmore"), "abc");
    EXPECT_EQ(first_line("abc\nmore"), "abc");
    EXPECT_EQ(first_line("\r\n"), "");
    EXPECT_EQ(first_line("a\rb"), "a\rb");      // a lone CR stays
    EXPECT_EQ(first_line("\tx "), "\tx ");      // no trimming
    EXPECT_EQ(first_line("ab\r\r\n"), "ab\r");  // only one CR goes
}

TEST(QueryEdit, EveryPathKeepsTheQueryWithinItsLimit) {
    const std::string full(kQueryMaxCharacters, 'a');
    const std::string one_short(kQueryMaxCharacters - 1, 'a');
    const std::string long_line(300, 'x');
    const struct {
        const char* name;
        std::string before;
        std::function<void(std::string&)> edit;
        std::string after;
    } cases[] = {
        {"typed below the limit", one_short, [](std::string& q) { type_unit(q, u'b', {}); },
         one_short + "b"},
        {"typed at the limit", full, [](std::string& q) { type_unit(q, u'b', {}); }, full},
        {"pasted into an empty query", "",
         [&](std::string& q) { type_unit(q, 0x16, [&] { return long_line + "\nmore"; }); },
         std::string(kQueryMaxCharacters, 'x')},
        {"pasted after two letters", "ab",
         [&](std::string& q) { type_unit(q, 0x16, [&] { return long_line; }); },
         "ab" + std::string(kQueryMaxCharacters - 2, 'x')},
        {"pasted at the limit", full,
         [](std::string& q) { type_unit(q, 0x16, [] { return std::string("z"); }); }, full},
        {"a character of several bytes at the edge", one_short,
         [](std::string& q) { type_unit(q, 0x16, [] { return std::string("é€"); }); },
         one_short + "é"},
        {"Tab on a longer name", "ab",
         [&](std::string& q) {
             edit_query(q, {QueryEdit::Kind::Replace, long_line});
         },
         std::string(kQueryMaxCharacters, 'x')},
        {"Tab on a short name of a full query", full,
         [](std::string& q) {
             edit_query(q, {QueryEdit::Kind::Replace, "Bloc-notes"});
         },
         "Bloc-notes"},
        {"Ctrl+Backspace", "ab " + std::string(kQueryMaxCharacters - 3, 'c'),
         [](std::string& q) { type_unit(q, 0x7F, {}); }, "ab "},
    };
    for (const auto& c : cases) {
        std::string query = c.before;
        c.edit(query);
        EXPECT_EQ(query, c.after) << c.name;
    }
}

TEST(QueryEdit, TypedUnitsThatRefreshAndThoseThatAreIgnored) {
    const auto no_clipboard = []() -> std::string {
        ADD_FAILURE() << "the clipboard is read only for Ctrl+V";
        return {};
    };
    const struct {
        char16_t unit;
        bool refreshes;
        const char* after;
    } cases[] = {
        {u'é', true, "ré"},  {8, true, ""},      {0x7F, true, ""},   {0xD83D, true, "r"},
        {0xDC00, true, "r"}, {13, false, "r"},   {0x1B, false, "r"}, {0x09, false, "r"},
        {0x01, false, "r"},  {0x1F, false, "r"}, {0x20, true, "r "}, {0xE000, true, "r\uE000"},
    };
    for (const auto& c : cases) {
        std::string query = "r";
        EXPECT_EQ(type_unit(query, c.unit, no_clipboard), c.refreshes) << int(c.unit);
        EXPECT_EQ(query, c.after) << int(c.unit);
    }
    std::string query = "r";
    EXPECT_TRUE(type_unit(query, 0x16, [] { return std::string("\r\n"); }));
    EXPECT_EQ(query, "r");  // a lone line break appends nothing but still refreshes
}

std::vector<std::uint8_t> pixels(std::initializer_list<std::uint8_t> bytes) {
    return bytes;
}

TEST(IconPixels, AlphaRule) {
    auto opaque = pixels({10, 20, 30, 0, 40, 50, 60, 0});
    prepare_icon_pixels(opaque);
    EXPECT_EQ(opaque, pixels({10, 20, 30, 255, 40, 50, 60, 255}));

    auto straight = pixels({200, 100, 0, 128, 255, 255, 255, 255});
    prepare_icon_pixels(straight);
    EXPECT_EQ(straight, pixels({100, 50, 0, 128, 255, 255, 255, 255}));

    // (c × a + 127) / 255 rounds: 150 × 200 / 255 = 117.6 gives 118, 201 × 129 / 255 = 101.7
    // gives 102; the 250 over 100 makes the image straight alpha.
    auto rounded = pixels({150, 201, 0, 200, 250, 0, 0, 100, 201, 0, 0, 129});
    prepare_icon_pixels(rounded);
    EXPECT_EQ(rounded, pixels({118, 158, 0, 200, 98, 0, 0, 100, 102, 0, 0, 129}));

    auto premultiplied = pixels({100, 50, 0, 128, 0, 0, 0, 0});
    prepare_icon_pixels(premultiplied);
    EXPECT_EQ(premultiplied, pixels({100, 50, 0, 128, 0, 0, 0, 0}));

    auto odd = pixels({1, 2, 3});  // a cut buffer is left alone, never overrun
    prepare_icon_pixels(odd);
    EXPECT_EQ(odd, pixels({1, 2, 3}));
}

TEST(IconPixels, ImagesOfASinglePixelRowOrColumnAreNotIcons) {
    EXPECT_TRUE(is_usable_icon_image(36, 36));
    EXPECT_TRUE(is_usable_icon_image(2, 2));
    EXPECT_FALSE(is_usable_icon_image(1, 1));
    EXPECT_FALSE(is_usable_icon_image(36, 1));
    EXPECT_FALSE(is_usable_icon_image(0, 36));
    EXPECT_FALSE(is_usable_icon_image(-36, 36));
}

TEST(IconPixels, RequestedSizeFollowsTheScale) {
    EXPECT_EQ(icon_pixel_size(1.0f), 36);
    EXPECT_EQ(icon_pixel_size(1.5f), 54);
    EXPECT_EQ(icon_pixel_size(1.25f), 45);
}

TEST(PopupLayout, PlacementAtTwentyTwoPercentCentred) {
    using layout::Point;
    EXPECT_EQ(layout::popup_origin({0, 0, 1920, 1040}, 1.0f), (Point{600, 228}));
    // A monitor left of the primary one.
    EXPECT_EQ(layout::popup_origin({-1920, 0, 0, 1040}, 1.0f), (Point{-1320, 228}));
    EXPECT_EQ(layout::popup_origin({0, 0, 1920, 1040}, 1.5f), (Point{420, 228}));
}

TEST(PopupLayout, FontHeightsAtOneAndAHalf) {
    std::vector<std::int32_t> heights;
    for (const auto& font : layout::kFonts) {
        heights.push_back(layout::font_pixel_height(font, 1.5f));
    }
    EXPECT_EQ(heights, (std::vector<std::int32_t>{45, 29, 20, 23, 30, 42, 27}));
}

TEST(PopupLayout, HitTestEdges) {
    EXPECT_EQ(layout::hit_row(12, 84, 3, 1.0f), 0u);
    EXPECT_EQ(layout::hit_row(708, 84 + 54, 3, 1.0f), 1u);
    EXPECT_FALSE(layout::hit_row(709, 100, 3, 1.0f).has_value());
    EXPECT_FALSE(layout::hit_row(11, 100, 3, 1.0f).has_value());
    EXPECT_FALSE(layout::hit_row(100, 83, 3, 1.0f).has_value());
    EXPECT_FALSE(layout::hit_row(100, 84 + 3 * 54, 3, 1.0f).has_value());
    EXPECT_EQ(layout::hit_row(1062, 126, 1, 1.5f), 0u);  // R(708) = 1062, R(84) = 126
    EXPECT_FALSE(layout::hit_row(1063, 126, 1, 1.5f).has_value());
}

TEST(PopupLayout, TileColourDependsOnlyOnTheKeyBytes) {
    EXPECT_EQ(layout::tile_colour("cmd:quit", dark_palette().tiles), 0x8E5BA8u);
    EXPECT_EQ(layout::tile_colour("cmd:stats", dark_palette().tiles), 0x5A6A7Au);
    EXPECT_EQ(layout::tile_colour("abc", dark_palette().tiles), 0x4A6FA5u);
    EXPECT_EQ(layout::tile_colour("", dark_palette().tiles), 0x4A6FA5u);
}

TEST(PopupLayout, TileLetterIsTheUpperCasedFirstCharacter) {
    EXPECT_EQ(layout::tile_letter("écran"), "É");
    EXPECT_EQ(layout::tile_letter("ßeta"), "SS");
    EXPECT_EQ(layout::tile_letter("7Zip"), "7");
    EXPECT_EQ(layout::tile_letter(""), "");
}

TEST(PopupLayout, LongQueryShowsItsEndInFewMeasurements) {
    // Ten pixels per ASCII character and twenty per other character.
    std::size_t calls = 0;
    const auto width = [&calls](std::string_view t) {
        ++calls;
        std::int32_t pixels = 0;
        for (std::size_t pos = 0; pos < t.size();) {
            pixels += decode_utf8(t, pos) < 0x80 ? 10 : 20;
        }
        return pixels;
    };
    const std::string longest(kQueryMaxCharacters, 'q');
    const struct {
        std::string query;
        std::int32_t available;
        std::size_t start;
    } cases[] = {
        {"abc", 60, 0},
        {"abcdef", 60, 0},
        {"abcdefgh", 60, 2},
        {"éabcdef", 60, 2},  // é goes whole
        {"abcdé", 50, 1},
        {"abcdéf", 50, 2},  // "bcdéf" is 60 wide, "cdéf" 50
        {"abc", -5, 3},
        {"", 0, 0},
        {longest, 600, kQueryMaxCharacters - 60},
        {longest, 5, kQueryMaxCharacters},
    };
    for (const auto& c : cases) {
        calls = 0;
        EXPECT_EQ(layout::visible_query_start(c.query, c.available, width), c.start) << c.query;
        EXPECT_LE(calls, 10u) << c.query;  // 1 + log2 of 256 + 1
    }
}

TEST(PopupShow, AShowWithoutTheForegroundHidesAgainAndSaysSo) {
    EXPECT_EQ(show_outcome(true), ShowOutcome::Shown);
    EXPECT_EQ(show_outcome(false), ShowOutcome::HiddenAgain);
    EXPECT_EQ(kForegroundRefusedLog, "premier plan refusé : Talvo masqué");
}

TEST(Rescan, OnlyACatalogueStrictlyOlderThanTwoMinutesIsRescanned) {
    using namespace std::chrono_literals;
    EXPECT_FALSE(catalogue_is_stale(0s));
    EXPECT_FALSE(catalogue_is_stale(120s));
    EXPECT_TRUE(catalogue_is_stale(120s + 1ns));
    EXPECT_TRUE(catalogue_is_stale(120500ms));
    EXPECT_TRUE(catalogue_is_stale(121s));
}

TEST(Channel, DeliversInOrderAcrossThreadsAndReportsTheEnds) {
    auto [sender, receiver] = make_channel<int>();
    std::thread producer([s = std::move(sender)] {
        for (int i = 0; i < 1000; ++i) {
            s.send(i);
        }
    });
    int expected = 0;
    while (const auto value = receiver.receive()) {
        EXPECT_EQ(*value, expected++);
    }
    producer.join();
    EXPECT_EQ(expected, 1000);  // receive ended only after the last sender left
}

TEST(Channel, SendFailsOnceTheReceiverIsGone) {
    auto channel = make_channel<std::string>();
    Sender<std::string> sender = channel.first;
    EXPECT_TRUE(sender.send("a"));
    EXPECT_EQ(channel.second.try_receive(), "a");
    EXPECT_FALSE(channel.second.try_receive().has_value());
    { Receiver<std::string> gone = std::move(channel.second); }
    EXPECT_FALSE(sender.send("b"));
}

}  // namespace
}  // namespace talvo
