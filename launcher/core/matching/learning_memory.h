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

    bool operator==(const KeyWeights&) const = default;
};

// The prefix tables learn at most this many characters of a recorded query:
// every prefix of a long query would cost memory and time quadratic in its
// length at every start and every launch. A longer typed query gets no
// prefix share.
inline constexpr std::size_t kMaxLearnedPrefixCharacters = 64;

// The launched keys as the keystroke path reads them, built by rebuild: an
// open-addressing table by the high half of each key's TextHash (a power of
// two, so no division, at most a quarter full, so a key never launched mostly
// ends at the first slot), and each key's query-free bonus terms.
class LaunchedKeys {
  public:
    struct Key {
        std::string text;
        BonusTerms terms;
    };

    LaunchedKeys() = default;
    explicit LaunchedKeys(const TextMap<KeyWeights>& keys);

    std::size_t size() const { return keys_.size(); }
    // Position of a key among the launched keys, from 0 to size() - 1.
    std::size_t number(const Key& key) const {
        return static_cast<std::size_t>(&key - keys_.data());
    }

    // The launched key with this hash half whose text `key_text()` gives (read
    // only when the hash halves agree), or nullptr.
    template <typename KeyText>
    const Key* find(std::uint32_t hash_high, KeyText&& key_text) const {
        for (std::size_t at = hash_high >> shift_;; at = (at + 1) & mask_) {
            const std::uint64_t slot = slots_[at];
            if (slot == 0) {
                return nullptr;
            }
            if (slot >> 32 == hash_high) {
                const Key& key = keys_[(slot & 0xFFFFFFFF) - 1];
                if (key.text == key_text()) {
                    return &key;
                }
            }
        }
    }

  private:
    // hash half << 32 | key number + 1; 0 when empty. Never full.
    std::vector<std::uint64_t> slots_ = std::vector<std::uint64_t>(2);
    std::vector<Key> keys_;
    std::size_t mask_ = 1;  // slots_.size() - 1
    unsigned shift_ = 31;   // hash half >> shift_ is a key's first slot
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

    LaunchedKeys launched;  // of `keys`, built by rebuild
};

// Whether `launched` is that of the current keys: rebuild makes it. A memory
// whose tables were filled by other means (tests, tools) is read from its
// tables, key by key.
inline bool rebuilt(const LearningMemory& memory) {
    return memory.launched.size() == memory.keys.size() && !memory.keys.empty();
}

}  // namespace talvo

namespace talvo {

// Recency weight of a launch at `time` seen at `now`: 1 today, e^-1 after 30
// days; 1 for a future launch and for every launch when the clock reads before 1970.
double record_weight(std::uint64_t time, std::int64_t now);

// Recomputes every table from `records` with the clock reading `now`.
void rebuild(LearningMemory& memory, std::int64_t now);

}  // namespace talvo
