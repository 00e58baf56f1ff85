// Numbers, dates, count words and the statistics captions as a French reader sees them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/stats/french_format.h"
#include "core/stats/stats_captions.h"

namespace talvo {
namespace {

// U+202F, the narrow no-break space between digit groups.
#define NNBSP "\xE2\x80\xAF"

TEST(FormatCount, GroupsDigitsByThreeWithANarrowNoBreakSpace) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1" NNBSP "000"},
        {12345, "12" NNBSP "345"},
        {100000, "100" NNBSP "000"},
        {1234567, "1" NNBSP "234" NNBSP "567"},
        {18446744073709551615u,
         "18" NNBSP "446" NNBSP "744" NNBSP "073" NNBSP "709" NNBSP "551" NNBSP "615"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(format_count(value), text) << value;
    }
}

TEST(FormatDecimal, WritesOneDecimalWithAComma) {
    const std::pair<double, const char*> cases[] = {
        {2.0, "2,0"},        {4, "4,0"},          {0, "0,0"},      {2.46, "2,5"},
        {2.44, "2,4"},       {0.04, "0,0"},       {0.05, "0,1"},   {9.96, "10,0"},
        {1234.56, "1234,6"}, {200.0 / 30, "6,7"}, {-1.25, "-1,3"}, {-0.01, "0,0"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(format_decimal(value), text) << value;
    }
}

TEST(CountWord, IsSingularForZeroAndOne) {
    EXPECT_EQ(count_word(0), "lancement");
    EXPECT_EQ(count_word(1), "lancement");
    EXPECT_EQ(count_word(2), "lancements");
    EXPECT_EQ(count_word(12345), "lancements");
}

TEST(Dates, WriteDayMonthAbbreviationAndYear) {
    EXPECT_EQ(date_text(LocalTime{2025, 1, 3}), "3 janv. 2025");
    EXPECT_EQ(date_text(LocalTime{2024, 12, 31}), "31 déc. 2024");
    EXPECT_EQ(day_month_text(1, 2), "1 févr.");
    EXPECT_EQ(day_month_text(15, 8), "15 août");
}

TEST(Dates, ClockTimeHasNoLeadingZeroOnTheHourAndTwoDigitMinutes) {
    EXPECT_EQ(clock_time_text(9, 5), "9 h 05");
    EXPECT_EQ(clock_time_text(18, 30), "18 h 30");
    EXPECT_EQ(clock_time_text(0, 0), "0 h 00");
    EXPECT_EQ(clock_time_text(23, 59), "23 h 59");
}

TEST(Captions, FillTheirFiguresInFrench) {
    const std::pair<std::string, const char*> cases[] = {
        {first_date_caption("3 janv. 2025"),
         "Depuis le 3 janv. 2025 · calculées sur ton PC, rien n'est envoyé"},
        {peak_hour_caption(17), "pic vers 17 h"},
        {hovered_hour_caption(9, 1), "9 h · 1 lancement"},
        {hovered_hour_caption(0, 0), "0 h · 0 lancement"},
        {hour_axis_label(23), "23 h"},
        {busiest_weekday_caption(6), "plus actif le dimanche"},
        {hovered_weekday_caption(1, 2), "mardi · 2 lancements"},
        {daily_average_caption(2.0), "2,0 par jour en moyenne"},
        // Captions write counts as plain decimals, unlike the key figures.
        {hovered_hour_caption(23, 1234), "23 h · 1234 lancements"},
        {hovered_weekday_caption(0, 20000), "lundi · 20000 lancements"},
        {hovered_day_caption("3 janv.", 12345), "3 janv. · 12345 lancements"},
        {learned_query_caption("vl"), "« vl »"},
        {learned_name_caption("VLC media player"), "→  VLC media player"},
        {learned_count_caption(2), "· 2 fois"},
        {learned_count_caption(1000), "· 1000 fois"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(text, expected);
    }
}

}  // namespace
}  // namespace talvo
