// The figures of the statistics page, computed in one pass from the launch
// records and the current catalogue: plain counts, dated in local time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/learning_memory.h"
#include "core/shell/platform.h"

namespace talvo {

// One of the most launched entries.
struct TopItem {
    std::string key;
    std::string name;
    std::uint32_t count = 0;

    bool operator==(const TopItem&) const = default;
};

// One of the latest launches; `when` is its relative time ("hier, 23 h 50").
struct RecentItem {
    std::string key;
    std::string name;
    std::string when;

    bool operator==(const RecentItem&) const = default;
};

// Typed letters and the entry most often chosen after exactly those letters.
struct LearnedItem {
    std::string query;
    std::string name;
    std::uint32_t count = 0;

    bool operator==(const LearnedItem&) const = default;
};

inline constexpr std::size_t kStatsDays = 30;
inline constexpr std::size_t kTopCount = 8;
inline constexpr std::size_t kRecentCount = 6;
inline constexpr std::size_t kLearnedCount = 6;
// Only queries this short can be listed as learned.
inline constexpr std::size_t kLearnedQueryMaxLength = 6;
inline constexpr std::uint32_t kLearnedMinCount = 2;

// A snapshot: "today", the 30 days and the relative times are those of the
// moment it was built.
struct StatsModel {
    std::uint32_t total = 0;
    std::uint32_t today = 0;
    double daily_average = 0;  // launches per day over the last 30 days
    std::uint32_t distinct = 0;
    std::string first_date_text;  // "3 janv. 2025"; empty without records
    std::array<std::uint32_t, 24> by_hour{};
    std::array<std::uint32_t, 7> by_weekday{};             // 0 = Monday … 6 = Sunday
    std::array<std::uint32_t, kStatsDays> last_30_days{};  // index 29 = today
    std::array<std::string, kStatsDays> day_labels;        // "3 janv.", one per day counter
    std::vector<TopItem> top;
    std::vector<RecentItem> recent;  // newest first
    std::vector<LearnedItem> learned;
};

// Reads the clock once. A record whose instant the clock cannot convert to a
// local date counts in the totals and lists but in no chart.
StatsModel build_stats(const std::vector<LaunchRecord>& records, const Catalog& catalog,
                       const KeyIndex& key_index, const Clock& clock);

// The catalogue name of a key, or one derived from the key itself for an
// entry that has left the catalogue ("app:C:\Outils\vlc.exe" gives "vlc.exe").
std::string display_name(std::string_view key, const Catalog& catalog, const KeyIndex& key_index);

// "à l'instant", "il y a 5 min", "aujourd'hui, 14 h 05", "hier, 23 h 50" or
// "3 janv., 9 h 05": how long before `now` a launch at `time` happened.
std::string relative_time(std::uint64_t time, std::int64_t now, const Clock& clock);

// The hour (0 to 23) and the weekday (0 = Monday) with the most launches; the
// latest of them when several share the maximum.
std::size_t peak_hour(const StatsModel& model);
std::size_t busiest_weekday(const StatsModel& model);

}  // namespace talvo
