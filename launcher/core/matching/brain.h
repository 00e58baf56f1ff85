// Scores catalogue entries against a prepared query: a fixed ladder of match
// kinds gives the base score, the learning memory adds a bonus.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/learning_memory.h"
#include "core/text/text_map.h"

namespace talvo {

struct ScoredEntry {
    float score = 0;
    std::uint32_t index = 0;  // position in the catalogue

    bool operator==(const ScoredEntry&) const = default;
};

// Local clock reading shared by the whole recomputation.
struct ClockSlot {
    unsigned hour = 0;     // 0 to 23
    unsigned weekend = 0;  // 1 on Saturday or Sunday
};

// The query split the ways the ladder needs it, built once per keystroke.
struct QueryParts {
    std::string_view query;
    std::vector<std::string_view> words;
    std::string compact;
    std::vector<std::string> compact_characters;  // each one character of `compact`
    std::uint64_t byte_mask = 0;                  // of `compact`: bytes every rung needs
    std::uint64_t word_start_mask = 0;            // of the first byte of each word
};

QueryParts split_query(std::string_view query);

// Base score of the first rung that holds, or nothing when no rung does.
std::optional<float> base_score(const CatalogEntry& entry, const QueryParts& query);

// Appends one pair per matching, non-hidden entry, in catalogue order, to `out`
// (cleared first). `query` is prepared and not empty. Builds a match index for
// the one call (index_matches.cpp); the keystroke path keeps its index
// (index_scan.h).
void match_entries(const Catalog& catalog, const HiddenKeys& hidden_keys, std::string_view query,
                   ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out);

std::vector<ScoredEntry> match_entries(const Catalog& catalog, const HiddenKeys& hidden_keys,
                                       std::string_view query, ClockSlot clock,
                                       const LearningMemory& memory);

// Time-of-day and day-of-week fit of a key, unclamped.
double context_score(const LearningMemory& memory, std::string_view key, ClockSlot clock);

// The same for a key's weights already at hand: its hour term plus its day term.
double context_score(const KeyWeights& weights, ClockSlot clock);
double hour_term(const KeyWeights& weights, unsigned hour);
double day_term(const KeyWeights& weights, unsigned weekend);

// ln(K + 1) x 4, the frequency part of the learned bonus.
double frequency_term(const KeyWeights& weights);

// The query-free parts of a key's bonus, as the learned bonus computes them.
BonusTerms bonus_terms(const KeyWeights& weights);

// The learned bonus of a key for this query (0 for a key never launched).
float learned_bonus(const LearningMemory& memory, std::string_view key, std::string_view query,
                    ClockSlot clock);

// The learned bonus prepared for one keystroke: the query's prefix table is
// looked up once. For a rebuilt memory (learning_memory.h) a key never
// launched is told in one or two probes of the launched keys, whose
// query-free terms are ready, and the prefix shares of the few keys chosen
// after this query are taken out of the table up front.
class LearnedBonus {
  public:
    LearnedBonus(const LearningMemory& memory, std::string_view query, ClockSlot clock);

    // The bonus of the entry `entry_of()` gives, whose key's TextHash has these
    // high 32 bits; the entry is read only when its key may have been launched.
    template <typename EntryOf>
    float of(std::uint32_t key_hash_high, EntryOf&& entry_of) const {
        if (rebuilt_) {
            const LaunchedKeys::Key* key = memory_.launched.find(
                key_hash_high, [&] { return std::string_view(entry_of().key); });
            return key == nullptr ? 0.0f : from_terms(*key);
        }
        if (!any_keys_) {
            return 0;
        }
        const CatalogEntry& entry = entry_of();
        return from_tables(HashedText{entry.key, entry.key_text_hash});
    }

    // The bonus of a key read from the memory's tables alone.
    float from_tables(const HashedText& key) const;

  private:
    float from_terms(const LaunchedKeys::Key& key) const;
    double share(const HashedText& key) const;
    double share(double weight) const;
    float sum(double context, double frequency, double share) const;

    const LearningMemory& memory_;
    const TextMap<double>* shares_ = nullptr;  // weight per key under this query
    double share_total_ = 0;
    std::vector<double> launched_shares_;  // by launched key number, when shares_ is set
    ClockSlot clock_;
    bool any_keys_ = false;
    bool rebuilt_ = false;
};

}  // namespace talvo
