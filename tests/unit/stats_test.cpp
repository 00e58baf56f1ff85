// Statistics figures from launch records, with a fixed-offset clock, and in a
// real zone with daylight saving (Europe/Paris).
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/stats/stats_model.h"
#include "test_platform.h"

namespace talvo {
namespace {

using testing::FixedClock;
using testing::SystemZoneClock;
using testing::unix_from_civil;

constexpr std::int64_t kOneHour = 3600;  // the fixed clock's zone is UTC+1

// Unix time of a local date and time in the fixed clock's zone.
std::int64_t local_instant(int year, int month, int day, int hour = 12, int minute = 0,
                           int second = 0) {
    return unix_from_civil(year, month, day, hour, minute, second) - kOneHour;
}

LaunchRecord launch(std::string key, std::string query, std::int64_t time) {
    return LaunchRecord{std::move(key), std::move(query), static_cast<std::uint64_t>(time), 0, 0};
}

struct Fixture {
    Catalog catalog = {
        make_entry("app:vlc", "VLC media player", "", LaunchTarget::open_path("vlc")),
        make_entry("app:notes", "Bloc-notes", "", LaunchTarget::open_path("notes")),
        make_entry("dir:downloads", "Téléchargements", "", LaunchTarget::open_path("dl")),
    };
    KeyIndex index = build_key_index(catalog);

    StatsModel build(const std::vector<LaunchRecord>& records, const Clock& clock) const {
        return build_stats(records, catalog, index, clock);
    }
};

struct RelativeCase {
    const char* what;
    std::int64_t now;
    std::int64_t time;
    const char* expected;
};

TEST(RelativeTime, WordsTheAgeOfALaunchInLocalTime) {
    const std::int64_t afternoon = local_instant(2025, 6, 14, 15, 5);
    const RelativeCase cases[] = {
        {"same second", afternoon, afternoon, "à l'instant"},
        {"59 s", afternoon, afternoon - 59, "à l'instant"},
        {"in the future", afternoon, afternoon + 5000, "à l'instant"},
        {"60 s", afternoon, afternoon - 60, "il y a 1 min"},
        {"3599 s", afternoon, afternoon - 3599, "il y a 59 min"},
        {"3600 s", afternoon, afternoon - 3600, "aujourd'hui, 14 h 05"},
        {"this morning", afternoon, local_instant(2025, 6, 14, 0, 0), "aujourd'hui, 0 h 00"},
        {"yesterday 23:50 read at 0:20", local_instant(2025, 6, 15, 0, 20),
         local_instant(2025, 6, 14, 23, 50), "il y a 30 min"},
        {"yesterday 23:50 read at 2:00", local_instant(2025, 6, 15, 2, 0),
         local_instant(2025, 6, 14, 23, 50), "hier, 23 h 50"},
        {"yesterday just after midnight", afternoon, local_instant(2025, 6, 13, 0, 1),
         "hier, 0 h 01"},
        {"two days ago", afternoon, local_instant(2025, 6, 12, 9, 5), "12 juin, 9 h 05"},
        {"new year's eve read on the 1st", local_instant(2025, 1, 1, 10, 0),
         local_instant(2024, 12, 31, 22, 0), "hier, 22 h 00"},
        {"end of february", local_instant(2024, 3, 1, 10, 0), local_instant(2024, 2, 29, 18, 30),
         "hier, 18 h 30"},
        {"a year earlier", afternoon, local_instant(2024, 6, 15, 8, 0), "15 juin, 8 h 00"},
    };
    const FixedClock clock(0, kOneHour);
    for (const RelativeCase& c : cases) {
        EXPECT_EQ(relative_time(static_cast<std::uint64_t>(c.time), c.now, clock), c.expected)
            << c.what;
    }
}

TEST(BuildStats, PlacesLaunchesByLocalHourWeekdayAndCalendarDay) {
    const Fixture f;
    // Saturday 1 March 2025, 10:00 local; 2024 was a leap year, 2025 is not.
    const FixedClock clock(local_instant(2025, 3, 1, 10, 0), kOneHour);
    const std::vector<LaunchRecord> records = {
        launch("app:vlc", "", local_instant(2025, 1, 30, 23, 59)),  // 30 days ago: no day
        launch("app:vlc", "", local_instant(2025, 1, 31, 0, 30)),   // 29 days ago
        launch("app:vlc", "", local_instant(2025, 2, 24, 0, 30)),   // Monday, 0:30 local
        launch("app:vlc", "", local_instant(2025, 2, 28, 23, 59)),  // yesterday
        launch("app:vlc", "", local_instant(2025, 3, 1, 0, 0)),     // today
        launch("app:vlc", "", local_instant(2025, 3, 1, 9, 59)),    // today
        launch("app:vlc", "", local_instant(2025, 3, 2, 9, 0)),     // tomorrow: no day
    };
    const StatsModel model = f.build(records, clock);

    EXPECT_EQ(model.total, 7u);
    EXPECT_EQ(model.today, 2u);
    std::array<std::uint32_t, kStatsDays> days{};
    days[0] = 1;
    days[24] = 1;
    days[28] = 1;
    days[29] = 2;
    EXPECT_EQ(model.last_30_days, days);

    std::array<std::uint32_t, 24> hours{};
    hours[0] = 3;
    hours[9] = 2;
    hours[23] = 2;
    EXPECT_EQ(model.by_hour, hours);
    // Thu 30 Jan, Fri 31 Jan, Mon 24 Feb, Fri 28 Feb, Sat 1 Mar twice, Sun 2 Mar.
    EXPECT_EQ(model.by_weekday, (std::array<std::uint32_t, 7>{1, 0, 0, 1, 2, 2, 1}));

    EXPECT_EQ(model.day_labels[0], "31 janv.");
    EXPECT_EQ(model.day_labels[28], "28 févr.");
    EXPECT_EQ(model.day_labels[29], "1 mars");
    EXPECT_EQ(model.first_date_text, "30 janv. 2025");
}

struct AverageCase {
    const char* what;
    int first_days_ago;  // negative: the first record lies in the future
    int launches_in_window;
    double expected;
};

TEST(BuildStats, DailyAverageDividesByTheDaysSinceTheFirstRecordUpToThirty) {
    const AverageCase cases[] = {
        {"began today", 0, 2, 2.0},
        {"began 3 days ago", 3, 10, 2.5},
        {"began 29 days ago", 29, 60, 2.0},
        {"older than a month", 200, 60, 2.0},
        {"first record in the future", -2, 3, 3.0},
    };
    const Fixture f;
    const std::int64_t now = local_instant(2025, 5, 20, 18, 0);
    const FixedClock clock(now, kOneHour);
    for (const AverageCase& c : cases) {
        std::vector<LaunchRecord> records = {
            launch("app:vlc", "", now - std::int64_t{c.first_days_ago} * 86400)};
        const int more = c.first_days_ago >= 0 && c.first_days_ago < 30 ? c.launches_in_window - 1
                                                                        : c.launches_in_window;
        for (int i = 0; i < more; ++i) {
            records.push_back(launch("app:notes", "", now - 60));
        }
        EXPECT_DOUBLE_EQ(f.build(records, clock).daily_average, c.expected) << c.what;
    }
}

TEST(BuildStats, FirstDateIsThatOfTheFirstRecordInFileOrder) {
    const Fixture f;
    const FixedClock clock(local_instant(2025, 5, 20), kOneHour);
    const StatsModel model = f.build({launch("app:vlc", "", local_instant(2025, 1, 3, 0, 5)),
                                      launch("app:vlc", "", local_instant(2024, 12, 1))},
                                     clock);
    EXPECT_EQ(model.first_date_text, "3 janv. 2025");
}

TEST(BuildStats, TopListsTheMostLaunchedKeysWithTiesInKeyOrder) {
    const Fixture f;
    const std::int64_t now = local_instant(2025, 5, 20);
    std::vector<LaunchRecord> records;
    const std::pair<const char*, int> launches[] = {
        {"app:vlc", 3},
        {"app:b", 1},
        {"app:a", 1},
        {"dir:downloads", 5},
        {"app:notes", 3},
        {"app:c", 1},
        {"app:d", 1},
        {"app:e", 1},
        {"app:f", 1},
        {"app:g", 1},
        {"app:C:\\Outils\\gone.exe", 4},
    };
    for (const auto& [key, count] : launches) {
        for (int i = 0; i < count; ++i) {
            records.push_back(launch(key, "", now - 100));
        }
    }
    const StatsModel model = f.build(records, FixedClock(now, kOneHour));
    EXPECT_EQ(model.distinct, 11u);
    EXPECT_EQ(model.top, (std::vector<TopItem>{
                             {"dir:downloads", "Téléchargements", 5},
                             {"app:C:\\Outils\\gone.exe", "gone.exe", 4},
                             {"app:notes", "Bloc-notes", 3},
                             {"app:vlc", "VLC media player", 3},
                             {"app:a", "a", 1},
                             {"app:b", "b", 1},
                             {"app:c", "c", 1},
                             {"app:d", "d", 1},
                         }));
}

TEST(BuildStats, RecentListsTheLastSixRecordsNewestFirst) {
    const Fixture f;
    const std::int64_t now = local_instant(2025, 5, 20, 15, 0);
    std::vector<LaunchRecord> records;
    for (int i = 0; i < 8; ++i) {
        records.push_back(launch("app:a" + std::to_string(i), "", now - (8 - i) * 600));
    }
    records.back().key = "app:Vendor.Notes_8abc!App";
    const StatsModel model = f.build(records, FixedClock(now, kOneHour));
    ASSERT_EQ(model.recent.size(), 6u);
    EXPECT_EQ(model.recent[0],
              (RecentItem{"app:Vendor.Notes_8abc!App", "Vendor.Notes", "il y a 10 min"}));
    EXPECT_EQ(model.recent[1].when, "il y a 20 min");
    EXPECT_EQ(model.recent[5], (RecentItem{"app:a2", "a2", "aujourd'hui, 14 h 00"}));
}

struct LearnedCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> launches;  // (query, key)
    std::vector<LearnedItem> expected;
};

TEST(BuildStats, LearnedListsQueriesChosenTwiceForTheSameEntry) {
    const LearnedCase cases[] = {
        {"twice is listed, once is not",
         {{"vl", "app:vlc"}, {"vl", "app:vlc"}, {"no", "app:notes"}},
         {{"vl", "VLC media player", 2}}},
        {"six characters (seven bytes) are listed, seven characters never",
         {{"éditeu", "app:editor"},
          {"éditeu", "app:editor"},
          {"bloc-no", "app:notes"},
          {"bloc-no", "app:notes"},
          {"bloc-no", "app:notes"}},
         {{"éditeu", "editor", 2}}},
        {"'c' and 'ch' lead to the same entry: only 'c' is listed",
         {{"ch", "app:chrome"},
          {"ch", "app:chrome"},
          {"ch", "app:chrome"},
          {"c", "app:chrome"},
          {"c", "app:chrome"}},
         {{"c", "chrome", 2}}},
        {"length in characters: 'éé' (four bytes) is shorter than 'abc'",
         {{"abc", "app:vlc"},
          {"abc", "app:vlc"},
          {"abc", "app:vlc"},
          {"éé", "app:vlc"},
          {"éé", "app:vlc"}},
         {{"éé", "VLC media player", 2}}},
        {"equally long queries: the more frequent one names the entry",
         {{"ab", "app:vlc"},
          {"ab", "app:vlc"},
          {"cd", "app:vlc"},
          {"cd", "app:vlc"},
          {"cd", "app:vlc"}},
         {{"cd", "VLC media player", 3}}},
        {"a query belongs to the entry chosen most after it",
         {{"v", "app:notes"},
          {"v", "app:vlc"},
          {"v", "app:notes"},
          {"v", "app:vlc"},
          {"v", "app:vlc"}},
         {{"v", "VLC media player", 3}}},
        {"an empty query is never learned", {{"", "app:vlc"}, {"", "app:vlc"}}, {}},
        {"by count, then query; six at most",
         {{"a", "app:k1"}, {"a", "app:k1"}, {"b", "app:k2"}, {"b", "app:k2"}, {"b", "app:k2"},
          {"b", "app:k2"}, {"c", "app:k3"}, {"c", "app:k3"}, {"d", "app:k4"}, {"d", "app:k4"},
          {"d", "app:k4"}, {"e", "app:k5"}, {"e", "app:k5"}, {"f", "app:k6"}, {"f", "app:k6"},
          {"g", "app:k7"}, {"g", "app:k7"}, {"g", "app:k7"}, {"g", "app:k7"}, {"g", "app:k7"}},
         {{"g", "k7", 5},
          {"b", "k2", 4},
          {"d", "k4", 3},
          {"a", "k1", 2},
          {"c", "k3", 2},
          {"e", "k5", 2}}},
    };
    const Fixture f;
    const std::int64_t now = local_instant(2025, 5, 20);
    for (const LearnedCase& c : cases) {
        std::vector<LaunchRecord> records;
        for (const auto& [query, key] : c.launches) {
            records.push_back(launch(key, query, now - 100));
        }
        EXPECT_EQ(f.build(records, FixedClock(now, kOneHour)).learned, c.expected) << c.what;
    }
}

TEST(DisplayName, UsesTheCatalogueNameOrCutsTheKeyDown) {
    const std::pair<const char*, const char*> cases[] = {
        {"app:vlc", "VLC media player"},
        {"app:C:\\Outils\\vlc.exe", "vlc.exe"},
        {"app:Vendor.Notes_8abc!App", "Vendor.Notes"},
        {"app:{6D809377-6AF0-444B-8957-A3773F02200E}\\Vendor\\Tool.exe", "Tool.exe"},
        {"dir:music", "music"},
        {"no-prefix", "no-prefix"},
    };
    const Fixture f;
    for (const auto& [key, name] : cases) {
        EXPECT_EQ(display_name(key, f.catalog, f.index), name) << key;
    }
}

TEST(Peaks, EqualCountsGoToTheLatestHourAndTheLaterDay) {
    StatsModel model;
    model.by_hour[9] = 4;
    model.by_hour[12] = 3;
    model.by_hour[17] = 4;
    EXPECT_EQ(peak_hour(model), 17u);
    model.by_hour[8] = 5;
    EXPECT_EQ(peak_hour(model), 8u);

    model.by_weekday = {2, 5, 1, 5, 0, 0, 0};
    EXPECT_EQ(busiest_weekday(model), 3u);
}

TEST(BuildStats, EmptyHistoryGivesZerosAndEmptyLists) {
    const Fixture f;
    const StatsModel model = f.build({}, FixedClock(local_instant(2025, 8, 3, 9, 0), kOneHour));
    EXPECT_EQ(model.total, 0u);
    EXPECT_EQ(model.today, 0u);
    EXPECT_EQ(model.distinct, 0u);
    EXPECT_EQ(model.daily_average, 0.0);
    EXPECT_EQ(model.first_date_text, "");
    EXPECT_EQ(model.by_hour, (std::array<std::uint32_t, 24>{}));
    EXPECT_EQ(model.by_weekday, (std::array<std::uint32_t, 7>{}));
    EXPECT_EQ(model.last_30_days, (std::array<std::uint32_t, kStatsDays>{}));
    EXPECT_EQ(model.day_labels[29], "3 août");
    EXPECT_TRUE(model.top.empty());
    EXPECT_TRUE(model.recent.empty());
    EXPECT_TRUE(model.learned.empty());
}

TEST(BuildStats, ClockBefore1970ReadsAsTheEpoch) {
    const Fixture f;
    const StatsModel model = f.build({launch("app:vlc", "", 0), launch("app:vlc", "", 200000)},
                                     FixedClock(-86400 * 3, 0));
    EXPECT_EQ(model.today, 1u);
    EXPECT_EQ(model.last_30_days[29], 1u);
    EXPECT_EQ(model.recent[0].when, "à l'instant");  // 3 January 1970 lies in the future
    EXPECT_EQ(model.day_labels[29], "1 janv.");
}

// Runs the test in the Europe/Paris zone: natively by setting TZ for this
// process; under Wine the zone is the one Wine started with, so these tests
// skip unless the Windows tests run with TZ=Europe/Paris.
class ParisZone : public ::testing::Test {
  protected:
    void SetUp() override {
#ifndef _WIN32
        const char* old = std::getenv("TZ");
        saved_tz_ = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("TZ", "Europe/Paris", 1);
        tzset();
#endif
        if (!zone_is_central_european()) {
            GTEST_SKIP() << "the process does not run in a zone with the Central European "
                            "daylight-saving rules (run with TZ=Europe/Paris)";
        }
    }

    void TearDown() override {
#ifndef _WIN32
        if (saved_tz_) {
            setenv("TZ", saved_tz_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
#endif
    }

    // UTC+1 in January and UTC+2 in July.
    static bool zone_is_central_european() {
        const Clock& clock = system_platform().clock;
        const std::optional<LocalTime> winter = clock.to_local(unix_from_civil(2025, 1, 15, 12));
        const std::optional<LocalTime> summer = clock.to_local(unix_from_civil(2025, 7, 15, 12));
        return winter && summer && winter->hour == 13 && summer->hour == 14;
    }

    Fixture f;

  private:
    std::optional<std::string> saved_tz_;
};

// In 2025 summer time began on 30 March at 01:00 UTC (2:00 became 3:00) and
// ended on 26 October at 01:00 UTC (3:00 became 2:00).
TEST_F(ParisZone, LocalHourFollowsTheRulesInForceAtEachLaunch) {
    const std::pair<std::int64_t, std::size_t> cases[] = {
        {unix_from_civil(2025, 3, 30, 0, 30), 1},   // 1:30, winter time
        {unix_from_civil(2025, 3, 30, 1, 30), 3},   // 3:30, summer time
        {unix_from_civil(2025, 10, 26, 0, 30), 2},  // 2:30, summer time
        {unix_from_civil(2025, 10, 26, 1, 30), 2},  // 2:30 again, winter time
        {unix_from_civil(2025, 10, 26, 2, 30), 3},
    };
    const SystemZoneClock clock(unix_from_civil(2025, 11, 1));
    for (const auto& [time, hour] : cases) {
        const StatsModel model = f.build({launch("app:vlc", "", time)}, clock);
        EXPECT_EQ(peak_hour(model), hour) << time;
        EXPECT_EQ(model.by_hour[hour], 1u) << time;
    }
}

TEST_F(ParisZone, YesterdayIsTheCalendarDayBeforeAcrossTheChanges) {
    const RelativeCase cases[] = {
        {"23:30 winter time, read the next morning in summer time",
         unix_from_civil(2025, 3, 30, 8, 0), unix_from_civil(2025, 3, 29, 22, 30), "hier, 23 h 30"},
        {"23 h 30 earlier but two calendar days back (Sat 23:50, read Mon 0:20)",
         unix_from_civil(2025, 3, 30, 22, 20), unix_from_civil(2025, 3, 29, 22, 50),
         "29 mars, 23 h 50"},
        {"23:30 summer time, read the next morning in winter time",
         unix_from_civil(2025, 10, 26, 9, 0), unix_from_civil(2025, 10, 25, 21, 30),
         "hier, 23 h 30"},
        {"24 hours earlier on the 25-hour day is still today",
         unix_from_civil(2025, 10, 26, 22, 30), unix_from_civil(2025, 10, 25, 22, 30),
         "aujourd'hui, 0 h 30"},
    };
    for (const RelativeCase& c : cases) {
        EXPECT_EQ(relative_time(static_cast<std::uint64_t>(c.time), c.now, SystemZoneClock(c.now)),
                  c.expected)
            << c.what;
    }
}

TEST_F(ParisZone, ThirtyDayWindowCountsCalendarDaysAcrossTheMarchChange) {
    // Tuesday 1 April 2025, 0:30 summer time.
    const SystemZoneClock clock(unix_from_civil(2025, 3, 31, 22, 30));
    const StatsModel model =
        f.build({launch("app:vlc", "", unix_from_civil(2025, 3, 2, 22, 30)),    // 2 Mar 23:30
                 launch("app:vlc", "", unix_from_civil(2025, 3, 2, 23, 30)),    // 3 Mar 0:30
                 launch("app:vlc", "", unix_from_civil(2025, 3, 29, 22, 30)),   // 29 Mar 23:30
                 launch("app:vlc", "", unix_from_civil(2025, 3, 30, 22, 30))},  // 31 Mar 0:30
                clock);
    std::array<std::uint32_t, kStatsDays> days{};
    days[0] = 1;
    days[26] = 1;
    days[28] = 1;
    EXPECT_EQ(model.last_30_days, days);
    EXPECT_EQ(model.today, 0u);
    // Each label names the day its bar counts, though 48 hours before now was 29 March.
    EXPECT_EQ(model.day_labels[0], "3 mars");
    EXPECT_EQ(model.day_labels[26], "29 mars");
    EXPECT_EQ(model.day_labels[27], "30 mars");
    EXPECT_EQ(model.day_labels[28], "31 mars");
    EXPECT_EQ(model.day_labels[29], "1 avr.");
    EXPECT_EQ(model.first_date_text, "2 mars 2025");
}

TEST_F(ParisZone, ThirtyDayWindowCountsCalendarDaysAcrossTheOctoberChange) {
    // Sunday 26 October 2025, 23:30 winter time, the 25-hour day.
    const SystemZoneClock clock(unix_from_civil(2025, 10, 26, 22, 30));
    const StatsModel model =
        f.build({launch("app:vlc", "", unix_from_civil(2025, 9, 26, 21, 30)),    // 26 Sep 23:30
                 launch("app:vlc", "", unix_from_civil(2025, 9, 26, 22, 30)),    // 27 Sep 0:30
                 launch("app:vlc", "", unix_from_civil(2025, 10, 25, 21, 30)),   // 25 Oct 23:30
                 launch("app:vlc", "", unix_from_civil(2025, 10, 25, 22, 30))},  // 26 Oct 0:30
                clock);
    std::array<std::uint32_t, kStatsDays> days{};
    days[0] = 1;
    days[28] = 1;
    days[29] = 1;
    EXPECT_EQ(model.last_30_days, days);
    EXPECT_EQ(model.today, 1u);
    EXPECT_EQ(model.day_labels[0], "27 sept.");
    EXPECT_EQ(model.day_labels[28], "25 oct.");
    EXPECT_EQ(model.day_labels[29], "26 oct.");
}

}  // namespace
}  // namespace talvo
