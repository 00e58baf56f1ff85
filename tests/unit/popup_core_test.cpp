// The popup's window-free decisions: switches, query edits, icon pixels,
// placement, hit testing, letter tiles and query fitting.
#include <gtest/gtest.h>

#include <thread>

#include "core/catalog/icon_pixels.h"
#include "core/popup/popup_layout.h"
#include "core/popup/query_edit.h"
#include "core/shell/channel.h"
#include "core/shell/launcher_args.h"
#include "core/shell/rescan.h"

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
    EXPECT_EQ(layout::tile_colour("cmd:quit"), 0x8E5BA8u);
    EXPECT_EQ(layout::tile_colour("cmd:stats"), 0x5A6A7Au);
    EXPECT_EQ(layout::tile_colour("abc"), 0x4A6FA5u);
    EXPECT_EQ(layout::tile_colour(""), 0x4A6FA5u);
}

TEST(PopupLayout, TileLetterIsTheUpperCasedFirstCharacter) {
    EXPECT_EQ(layout::tile_letter("écran"), "É");
    EXPECT_EQ(layout::tile_letter("ßeta"), "SS");
    EXPECT_EQ(layout::tile_letter("7Zip"), "7");
    EXPECT_EQ(layout::tile_letter(""), "");
}

TEST(PopupLayout, LongQueryShowsItsEnd) {
    // Ten pixels per character, six characters fit.
    const auto width = [](std::string_view t) { return static_cast<std::int32_t>(10 * t.size()); };
    EXPECT_EQ(layout::visible_query_start("abc", 60, width), 0u);
    EXPECT_EQ(layout::visible_query_start("abcdefgh", 60, width), 2u);
    EXPECT_EQ(layout::visible_query_start("éabcdef", 60, width), 2u);  // é goes whole
    EXPECT_EQ(layout::visible_query_start("abc", -5, width), 3u);
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
