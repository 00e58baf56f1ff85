// The developer tool's command line and the recorded-items format it reads.
#include <gtest/gtest.h>

#include "core/catalog/scanned_items.h"
#include "rank_options.h"

namespace talvo {
namespace {

TEST(RankOptions, ReadsFilesClockZoneAndQueries) {
    std::string error;
    const auto options = rank::parse_options(
        {"--items", "i.tsv", "vlc", "--now", "1780000000", "--tz", "+02:00", "--", "--hidden", ""},
        error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->items_file, "i.tsv");
    EXPECT_EQ(options->now, 1780000000);
    EXPECT_EQ(options->zone, "+02:00");
    EXPECT_EQ(options->queries, (std::vector<std::string>{"vlc", "--hidden", ""}));
}

TEST(RankOptions, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {},                      // no query
        {"--now", "soon", "x"},  // not a number
        {"--now", "12x", "x"},
        {"--items"},  // value missing
        {"--frobnicate", "1", "x"},
    };
    for (const auto& arguments : bad) {
        std::string error;
        EXPECT_FALSE(rank::parse_options(arguments, error).has_value());
        EXPECT_FALSE(error.empty());
    }
}

TEST(RankOptions, FixedUtcOffsets) {
    EXPECT_EQ(rank::parse_utc_offset("UTC"), 0);
    EXPECT_EQ(rank::parse_utc_offset("+02:00"), 7200);
    EXPECT_EQ(rank::parse_utc_offset("-0530"), -19800);
    EXPECT_EQ(rank::parse_utc_offset("+2"), 7200);
    EXPECT_FALSE(rank::parse_utc_offset("Europe/Paris").has_value());
    EXPECT_FALSE(rank::parse_utc_offset("+25:00").has_value());
    EXPECT_FALSE(rank::parse_utc_offset("+02:60").has_value());
    EXPECT_FALSE(rank::parse_utc_offset("+").has_value());
}

TEST(ScannedItems, OneItemALineWithOptionalTarget) {
    const auto items = parse_scanned_items(
        "VLC media player\tC:\\VLC\\vlc.exe\r\n"
        "Calculatrice\tMicrosoft.WindowsCalculator_8wekyb3d8bbwe!App\t\n"
        "Outil\t{6D809377-6AF0-444B-8957-A3773F02200E}\\Outil\\o.exe\tC:\\Outil\\o.exe\n"
        "seul champ\n"
        "\xFF\tbad\n"
        "\n");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, "VLC media player");
    EXPECT_EQ(items[0].id, "C:\\VLC\\vlc.exe");
    EXPECT_EQ(items[0].link_target, "");
    EXPECT_EQ(items[1].link_target, "");
    EXPECT_EQ(items[2].link_target, "C:\\Outil\\o.exe");
}

}  // namespace
}  // namespace talvo
