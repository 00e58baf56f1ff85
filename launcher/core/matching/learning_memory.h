// What the launcher has learnt from earlier launches: the remembered launches
// and the tables derived from them, which the scoring reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/text/text_map.h"

namespace talvo {

struct LaunchRecord {
    std::string key;
    std::string query;          // prepared query at launch time, free of TAB, LF and CR
    std::uint64_t time = 0;     // Unix seconds (UTC)
    std::uint32_t hour = 0;     // local hour, 0 to 23
    std::uint32_t weekend = 0;  // 1 on Saturday or Sunday

    bool operator==(const LaunchRecord&) const = default;
};

// The parts of a key's learned bonus that do not depend on the query, at
// every hour and on both kinds of day: rebuild computes them once, so that a
// keystroke takes no logarithm.
struct BonusTerms {
    double frequency = 0;           // ln(K + 1) x 4
    std::array<double, 24> hour{};  // hour term of the context score at each hour
    std::array<double, 2> day{};    // its day term on weekdays, on weekends

    bool operator==(const BonusTerms&) const = default;
};

// What the memory holds for one launched key, as recency-weighted sums: in
// total, per local hour, and per kind of day (index 0 weekdays, 1 weekends).
// The three always exist together, so one lookup finds them all.
struct KeyWeights {
    double key_weight = 0;
    std::array<double, 24> hour_weight{};
    std::array<double, 2> day_weight{};
    BonusTerms terms;  // of the weights above, set by rebuild

    bool operator==(const KeyWeights&) const = default;
};

// The prefix tables learn at most this many characters of a recorded query:
// every prefix of a long query would cost memory and time quadratic in its
// length at every start and every launch. A longer typed query gets no
// prefix share.
inline constexpr std::size_t kMaxLearnedPrefixCharacters = 64;

// One bit per launched key, picked by the high bits of its TextHash and set
// by rebuild: a clear bit proves a catalogue key was never launched, so the
// keystroke path gives it no bonus without a table lookup.
struct LaunchedKeyFilter {
    std::vector<std::uint64_t> bits;
    unsigned shift = 64;        // hash >> shift is the bit of a hash
    std::size_t key_count = 0;  // keys.size() when built

    bool may_hold(std::uint64_t hash) const {
        const std::uint64_t bit = hash >> shift;
        return ((bits[bit / 64] >> (bit % 64)) & 1) != 0;
    }
};

struct LearningMemory {
    std::string history_path;
    std::vector<LaunchRecord> records;  // oldest first

    TextMap<KeyWeights> keys;  // every launched key

    // For every prefix (up to kMaxLearnedPrefixCharacters) of every recorded
    // query: weight per key, and in total.
    TextMap<TextMap<double>> prefix_key_weight;
    TextMap<double> prefix_weight;

    double total_weight = 0;

    LaunchedKeyFilter launched;  // of `keys`, built by rebuild
};

// Whether rebuild made the filter and the bonus terms of the current keys. A
// memory whose tables were filled by other means (tests, tools) is read key
// by key and its terms computed when needed.
inline bool rebuilt(const LearningMemory& memory) {
    return !memory.launched.bits.empty() && memory.launched.key_count == memory.keys.size();
}

}  // namespace talvo

namespace talvo {

// Recency weight of a launch at `time` seen at `now`: 1 today, e^-1 after 30
// days; 1 for a future launch and for every launch when the clock reads before 1970.
double record_weight(std::uint64_t time, std::int64_t now);

// Recomputes every table from `records` with the clock reading `now`.
void rebuild(LearningMemory& memory, std::int64_t now);

}  // namespace talvo
