#include "core/matching/brain.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/matching/scoring.h"
#include "core/text/byte_mask.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

namespace k = scoring;

// starts_with with a first-byte test up front: most comparisons on the
// keystroke path fail at the first byte, and this skips the library call.
inline bool begins_with(std::string_view text, std::string_view prefix) {
    if (prefix.empty()) {
        return true;
    }
    return text.size() >= prefix.size() && text.front() == prefix.front() &&
           text.compare(0, prefix.size(), prefix) == 0;
}

bool any_equal(const std::vector<std::string>& texts, std::string_view query) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t == query; });
}

bool any_starts_with(const std::vector<std::string>& texts, std::string_view prefix) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return begins_with(t, prefix); });
}

float name_prefix_score(const CatalogEntry& entry, std::string_view query) {
    const auto extra = static_cast<float>(entry.match_name.size() - query.size());
    return k::kNamePrefix -
           std::min(k::kNamePrefixPenaltyPerByte * extra, k::kNamePrefixMaxPenalty);
}

bool every_word_starts_an_entry_word(const CatalogEntry& entry, const QueryParts& query) {
    if (entry.words.empty()) {
        return false;
    }
    return std::all_of(query.words.begin(), query.words.end(),
                       [&](std::string_view word) { return any_starts_with(entry.words, word); });
}

std::optional<float> word_prefix_score(const CatalogEntry& entry, std::string_view query) {
    for (std::size_t i = 0; i < entry.words.size(); ++i) {
        if (begins_with(entry.words[i], query)) {
            return k::kWordPrefix - static_cast<float>(i);
        }
    }
    return std::nullopt;
}

// Takes the query's characters from the name in order, each at its first
// occurrence after the previous one (so a single walk of the name). The
// characters skipped between the first taken one and the last cost 2 points
// each. Both texts are valid UTF-8, so a byte search for a whole character
// only ever finds it at a character boundary.
std::optional<float> subsequence_score(std::string_view name,
                                       const std::vector<std::string>& wanted) {
    std::size_t pos = name.find(wanted.front());
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    pos += wanted.front().size();
    std::size_t skipped = 0;
    for (std::size_t i = 1; i < wanted.size(); ++i) {
        const std::size_t found = name.find(wanted[i], pos);
        if (found == std::string_view::npos) {
            return std::nullopt;
        }
        skipped += count_characters(name.substr(pos, found - pos));
        pos = found + wanted[i].size();
    }
    const float penalty = k::kSubsequencePerSkip * static_cast<float>(skipped);
    return std::max(k::kSubsequence - penalty, k::kSubsequenceFloor);
}

}  // namespace

QueryParts split_query(std::string_view query) {
    QueryParts parts;
    parts.query = query;
    parts.words = query_words(query);
    parts.compact = compact(query);
    parts.byte_mask = byte_mask(parts.compact);
    for (const std::string_view word : parts.words) {
        parts.word_start_mask |= byte_bit(static_cast<unsigned char>(word.front()));
    }
    const std::string_view text = parts.compact;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        decode_utf8(text, pos);
        parts.compact_characters.emplace_back(text.substr(start, pos - start));
    }
    return parts;
}

std::optional<float> base_score(const CatalogEntry& entry, const QueryParts& query) {
    // Every rung needs each non-space byte of the query in the name or an alias.
    if (!may_hold_all(entry.byte_mask, query.byte_mask)) {
        return std::nullopt;
    }
    const std::string_view q = query.query;
    if (any_equal(entry.aliases, q)) {
        return k::kAliasEqual;
    }
    if (entry.match_name == q) {
        return k::kNameEqual;
    }
    if (begins_with(entry.match_name, q)) {
        return name_prefix_score(entry, q);
    }
    if (any_starts_with(entry.aliases, q)) {
        return k::kAliasPrefix;
    }
    // The word and initials rungs need each query word to begin like an entry
    // word (each character of matching initials is the start of a word).
    const bool word_starts_fit = may_hold_all(entry.word_start_mask, query.word_start_mask);
    if (word_starts_fit && query.words.size() >= 2) {
        if (every_word_starts_an_entry_word(entry, query)) {
            return k::kAllWordsPrefix;
        }
    } else if (word_starts_fit && query.words.size() == 1) {
        if (const auto score = word_prefix_score(entry, q)) {
            return score;
        }
    }
    const bool long_enough = query.compact_characters.size() >= k::kMinCompactCharacters;
    if (long_enough && word_starts_fit && begins_with(entry.initials, query.compact)) {
        return k::kInitialsPrefix;
    }
    if (entry.match_name.find(q) != std::string::npos) {
        return k::kSubstring;
    }
    if (long_enough) {
        return subsequence_score(entry.match_name, query.compact_characters);
    }
    return std::nullopt;
}

double context_score(const KeyWeights& weights, ClockSlot clock) {
    const double n = weights.key_weight + 1.0;

    const auto& h = weights.hour_weight;
    const unsigned now = clock.hour % 24;
    const unsigned before = now == 0 ? 23 : now - 1;
    const unsigned after = now == 23 ? 0 : now + 1;
    const double s = k::kHourNeighbourShare * h[after] +
                     (k::kHourNeighbourShare * h[before] + k::kHourSelfShare * h[now]) +
                     k::kHourSmoothing;
    const double hour_term = std::log((s / n) * 24.0);

    const unsigned d = clock.weekend != 0 ? 1 : 0;
    const double p = d == 1 ? k::kWeekendDays : k::kWeekDays;
    const double day_term = std::log(((weights.day_weight[d] + p) / n) / p);
    return hour_term + day_term;
}

double context_score(const LearningMemory& memory, std::string_view key, ClockSlot clock) {
    const auto weights = memory.keys.find(key);
    // A key never launched has neither an hour nor a day term.
    return weights == memory.keys.end() ? 0.0 : context_score(weights->second, clock);
}

namespace {

// The prefix-share part of the bonus for one query, looked up once per keystroke.
struct PrefixShare {
    const TextMap<double>* keys = nullptr;
    double total = 0;

    PrefixShare(const LearningMemory& memory, std::string_view query) {
        const auto inner = memory.prefix_key_weight.find(query);
        const auto sum = memory.prefix_weight.find(query);
        if (inner != memory.prefix_key_weight.end() && sum != memory.prefix_weight.end() &&
            sum->second > 0) {
            keys = &inner->second;
            total = sum->second;
        }
    }

    double of(const HashedText& key) const {
        if (keys == nullptr) {
            return 0;
        }
        const auto p = keys->find(key);
        return p == keys->end() ? 0 : p->second / total * k::kPrefixShareFactor;
    }
};

float bonus_with_share(const LearningMemory& memory, const HashedText& key,
                       const PrefixShare& share, ClockSlot clock) {
    const auto found = memory.keys.find(key);
    if (found == memory.keys.end()) {
        return 0;
    }
    const KeyWeights& weights = found->second;
    const double c = std::clamp(context_score(weights, clock), -k::kContextClamp, k::kContextClamp);
    const double frequency = std::log(weights.key_weight + 1.0) * k::kFrequencyFactor;
    return static_cast<float>(c * k::kContextFactor + (frequency + share.of(key)));
}

// A cheap first test for the hidden set: the byte lengths of the hidden keys.
// Most entry keys have a length no hidden key has and need no hashing.
class HiddenFilter {
  public:
    explicit HiddenFilter(const HiddenKeys& hidden) : hidden_(hidden) {
        for (const std::string& key : hidden) {
            if (key.size() < kTracked) {
                lengths_[key.size()] = true;
            } else {
                any_long_ = true;
            }
        }
    }

    bool hides(const std::string& key) const {
        const bool possible = key.size() < kTracked ? lengths_[key.size()] : any_long_;
        return possible && hidden_.contains(key);
    }

  private:
    static constexpr std::size_t kTracked = 512;
    const HiddenKeys& hidden_;
    std::array<bool, kTracked> lengths_{};
    bool any_long_ = false;
};

}  // namespace

float learned_bonus(const LearningMemory& memory, std::string_view key, std::string_view query,
                    ClockSlot clock) {
    return bonus_with_share(memory, HashedText{key, TextHash{}(key)}, PrefixShare(memory, query),
                            clock);
}

void match_entries(const Catalog& catalog, const HiddenKeys& hidden_keys, std::string_view query,
                   ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out) {
    out.clear();
    out.reserve(catalog.size());
    const QueryParts parts = split_query(query);
    const PrefixShare share(memory, query);
    const bool any_learned = !memory.keys.empty();
    const HiddenFilter hidden(hidden_keys);
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const CatalogEntry& entry = catalog[i];
        if (!may_hold_all(entry.byte_mask, parts.byte_mask)) {
            continue;  // the common case, decided without leaving the entry
        }
        // Hidden entries give no pair; testing after the ladder tests fewer keys.
        const std::optional<float> base = base_score(entry, parts);
        if (!base || hidden.hides(entry.key)) {
            continue;
        }
        const float bonus =
            any_learned
                ? bonus_with_share(memory, HashedText{entry.key, entry.key_text_hash}, share, clock)
                : 0.0f;
        out.push_back({*base + bonus, static_cast<std::uint32_t>(i)});
    }
}

std::vector<ScoredEntry> match_entries(const Catalog& catalog, const HiddenKeys& hidden_keys,
                                       std::string_view query, ClockSlot clock,
                                       const LearningMemory& memory) {
    std::vector<ScoredEntry> out;
    match_entries(catalog, hidden_keys, query, clock, memory, out);
    return out;
}

}  // namespace talvo
