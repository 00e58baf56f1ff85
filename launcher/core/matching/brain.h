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
// the one call: the keystroke path keeps its index (index_scan.h).
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
// looked up once, and keys that were surely never launched skip the lookup.
class LearnedBonus {
  public:
    LearnedBonus(const LearningMemory& memory, std::string_view query, ClockSlot clock);

    // False when the key whose TextHash has these high 32 bits was surely
    // never launched: its bonus is 0.
    bool may_apply(std::uint32_t key_hash_high) const {
        return any_keys_ &&
               (!rebuilt_ || memory_.launched.may_hold(std::uint64_t{key_hash_high} << 32));
    }

    float of(const HashedText& key) const;

  private:
    const LearningMemory& memory_;
    const TextMap<double>* shares_ = nullptr;  // weight per key under this query
    double share_total_ = 0;
    ClockSlot clock_;
    bool any_keys_ = false;
    bool rebuilt_ = false;
};

}  // namespace talvo
