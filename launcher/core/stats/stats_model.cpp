#include "core/stats/stats_model.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_set>
#include <utility>

#include "core/stats/civil_date.h"
#include "core/stats/french_format.h"
#include "core/text/text_map.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

// The moment a snapshot is taken.
struct Snapshot {
    std::int64_t now = 0;    // Unix seconds, 0 when the clock reads before 1970
    std::int64_t today = 0;  // day number of the local date of `now`
};

// Launches per key, and per (query, key) for the queries short enough to be learned.
struct Counts {
    TextMap<std::uint32_t> per_key;
    TextMap<TextMap<std::uint32_t>> per_query;
};

// A query with the entry chosen most often after it.
struct LearnedPair {
    std::string_view query;
    std::string_view key;
    std::uint32_t count = 0;
    std::size_t length = 0;  // in characters
};

std::int64_t day_number_of(const LocalTime& local) {
    return day_number(local.year, local.month, local.day);
}

// Nothing when the instant lies beyond what the clock can convert.
std::optional<LocalTime> local_time_of(std::uint64_t time, const Clock& clock) {
    if (time > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return clock.to_local(static_cast<std::int64_t>(time));
}

Snapshot take_snapshot(std::int64_t now, const Clock& clock) {
    Snapshot snapshot;
    snapshot.now = std::max<std::int64_t>(now, 0);
    const std::optional<LocalTime> local = clock.to_local(snapshot.now);
    // The UTC date stands in should the zone conversion ever fail.
    snapshot.today = local ? day_number_of(*local) : snapshot.now / 86400;
    return snapshot;
}

std::string relative_time_at(std::uint64_t time, const Snapshot& snapshot, const Clock& clock) {
    const auto now = static_cast<std::uint64_t>(snapshot.now);
    const std::uint64_t age = time > now ? 0 : now - time;
    if (age < 60) {
        return "à l'instant";
    }
    if (age < 3600) {
        return "il y a " + std::to_string(age / 60) + " min";
    }
    const std::optional<LocalTime> local = local_time_of(time, clock);
    if (!local) {
        return {};
    }
    const std::string clock_text = clock_time_text(local->hour, local->minute);
    const std::int64_t days_ago = snapshot.today - day_number_of(*local);
    if (days_ago == 0) {
        return "aujourd'hui, " + clock_text;
    }
    if (days_ago == 1) {
        return "hier, " + clock_text;
    }
    return day_month_text(local->day, local->month) + ", " + clock_text;
}

void count_in_charts(StatsModel& model, const LocalTime& local, std::int64_t today) {
    if (local.hour >= 0 && local.hour < 24) {
        ++model.by_hour[static_cast<std::size_t>(local.hour)];
    }
    if (local.weekday >= 0 && local.weekday < 7) {
        ++model.by_weekday[static_cast<std::size_t>(local.weekday + 6) % 7];
    }
    const std::int64_t days_ago = today - day_number_of(local);
    if (days_ago >= 0 && days_ago < static_cast<std::int64_t>(kStatsDays)) {
        ++model.last_30_days[kStatsDays - 1 - static_cast<std::size_t>(days_ago)];
    }
    if (days_ago == 0) {
        ++model.today;
    }
}

bool is_learnable(std::string_view query) {
    return !query.empty() && count_characters(query) <= kLearnedQueryMaxLength;
}

double daily_average(const StatsModel& model, std::optional<std::int64_t> first_day,
                     std::int64_t today) {
    std::uint64_t sum = 0;
    for (const std::uint32_t count : model.last_30_days) {
        sum += count;
    }
    const std::int64_t span = first_day ? today - *first_day : 0;
    const std::int64_t days = std::clamp<std::int64_t>(span, 0, kStatsDays - 1) + 1;
    return static_cast<double>(sum) / static_cast<double>(days);
}

// Each label names the calendar date its counter counts, even on the days when
// 24 hours earlier is not yesterday (around daylight-saving changes).
std::array<std::string, kStatsDays> day_labels(std::int64_t today) {
    std::array<std::string, kStatsDays> labels;
    for (std::size_t i = 0; i < kStatsDays; ++i) {
        const CivilDate date = civil_date(today - static_cast<std::int64_t>(kStatsDays - 1 - i));
        labels[i] = day_month_text(date.day, date.month);
    }
    return labels;
}

// Keeps the best `most` of `values`, best first, as `better` orders them.
template <typename Value, typename Better>
void keep_best(std::vector<Value>& values, std::size_t most, Better better) {
    const std::size_t kept = std::min(most, values.size());
    std::partial_sort(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(kept),
                      values.end(), better);
    values.resize(kept);
}

std::vector<TopItem> top_items(const TextMap<std::uint32_t>& per_key, const Catalog& catalog,
                               const KeyIndex& key_index) {
    std::vector<std::pair<std::string_view, std::uint32_t>> ranked(per_key.begin(), per_key.end());
    keep_best(ranked, kTopCount, [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::vector<TopItem> items;
    items.reserve(ranked.size());
    for (const auto& [key, count] : ranked) {
        items.push_back({std::string(key), display_name(key, catalog, key_index), count});
    }
    return items;
}

std::vector<RecentItem> recent_items(const std::vector<LaunchRecord>& records,
                                     const Snapshot& snapshot, const Catalog& catalog,
                                     const KeyIndex& key_index, const Clock& clock) {
    const std::size_t kept = std::min(kRecentCount, records.size());
    std::vector<RecentItem> items;
    items.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        const LaunchRecord& record = records[records.size() - 1 - i];
        items.push_back({record.key, display_name(record.key, catalog, key_index),
                         relative_time_at(record.time, snapshot, clock)});
    }
    return items;
}

// For each query, the key chosen most often after it (the smallest key text
// among equals), kept when chosen at least twice.
std::vector<LearnedPair> strongest_pairs(const TextMap<TextMap<std::uint32_t>>& per_query) {
    std::vector<LearnedPair> pairs;
    for (const auto& [query, keys] : per_query) {
        LearnedPair best{query, {}, 0, count_characters(query)};
        for (const auto& [key, count] : keys) {
            if (count > best.count || (count == best.count && key < best.key)) {
                best.key = key;
                best.count = count;
            }
        }
        if (best.count >= kLearnedMinCount) {
            pairs.push_back(best);
        }
    }
    return pairs;
}

std::vector<LearnedItem> learned_items(const TextMap<TextMap<std::uint32_t>>& per_query,
                                       const Catalog& catalog, const KeyIndex& key_index) {
    std::vector<LearnedPair> pairs = strongest_pairs(per_query);
    // Shortest query first, so each entry is listed with the fewest letters
    // that learned it.
    std::sort(pairs.begin(), pairs.end(), [](const LearnedPair& a, const LearnedPair& b) {
        if (a.length != b.length) {
            return a.length < b.length;
        }
        return a.count != b.count ? a.count > b.count : a.query < b.query;
    });
    std::unordered_set<std::string_view, TextHash, std::equal_to<>> listed_keys;
    std::vector<LearnedPair> survivors;
    for (const LearnedPair& pair : pairs) {
        if (listed_keys.insert(pair.key).second) {
            survivors.push_back(pair);
        }
    }
    keep_best(survivors, kLearnedCount, [](const LearnedPair& a, const LearnedPair& b) {
        return a.count != b.count ? a.count > b.count : a.query < b.query;
    });
    std::vector<LearnedItem> items;
    items.reserve(survivors.size());
    for (const LearnedPair& pair : survivors) {
        items.push_back(
            {std::string(pair.query), display_name(pair.key, catalog, key_index), pair.count});
    }
    return items;
}

// The name of an entry that has left the catalogue: what follows the kind
// prefix and the last folder, without a Store application id or publisher hash.
std::string_view name_from_key(std::string_view key) {
    std::string_view name = key;
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) {
        name.remove_prefix(colon + 1);
    }
    if (const std::size_t slash = name.rfind('\\'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    name = name.substr(0, name.find('!'));
    return name.substr(0, name.find('_'));
}

template <std::size_t N>
std::size_t last_index_of_max(const std::array<std::uint32_t, N>& counters) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < N; ++i) {
        if (counters[i] >= counters[best]) {
            best = i;
        }
    }
    return best;
}

}  // namespace

StatsModel build_stats(const std::vector<LaunchRecord>& records, const Catalog& catalog,
                       const KeyIndex& key_index, const Clock& clock) {
    const Snapshot snapshot = take_snapshot(clock.unix_now(), clock);
    StatsModel model;
    Counts counts;
    std::optional<std::int64_t> first_day;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const LaunchRecord& record = records[i];
        ++find_or_add(counts.per_key, record.key);
        if (is_learnable(record.query)) {
            ++find_or_add(find_or_add(counts.per_query, record.query), record.key);
        }
        const std::optional<LocalTime> local = local_time_of(record.time, clock);
        if (!local) {
            continue;
        }
        count_in_charts(model, *local, snapshot.today);
        if (i == 0) {
            first_day = day_number_of(*local);
            model.first_date_text = date_text(*local);
        }
    }
    model.total = static_cast<std::uint32_t>(records.size());
    model.distinct = static_cast<std::uint32_t>(counts.per_key.size());
    model.daily_average = daily_average(model, first_day, snapshot.today);
    model.day_labels = day_labels(snapshot.today);
    model.top = top_items(counts.per_key, catalog, key_index);
    model.recent = recent_items(records, snapshot, catalog, key_index, clock);
    model.learned = learned_items(counts.per_query, catalog, key_index);
    return model;
}

std::string display_name(std::string_view key, const Catalog& catalog, const KeyIndex& key_index) {
    const auto found = key_index.find(key);
    if (found != key_index.end() && found->second < catalog.size()) {
        return catalog[found->second].name;
    }
    return std::string(name_from_key(key));
}

std::string relative_time(std::uint64_t time, std::int64_t now, const Clock& clock) {
    return relative_time_at(time, take_snapshot(now, clock), clock);
}

std::size_t peak_hour(const StatsModel& model) {
    return last_index_of_max(model.by_hour);
}

std::size_t busiest_weekday(const StatsModel& model) {
    return last_index_of_max(model.by_weekday);
}

}  // namespace talvo
