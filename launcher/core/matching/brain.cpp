#include "core/matching/brain.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/matching/ladder.h"
#include "core/matching/scoring.h"
#include "core/text/byte_mask.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

namespace k = scoring;

// A CatalogEntry seen through the accessors the match ladder reads.
class EntryFields {
  public:
    explicit EntryFields(const CatalogEntry& entry) : entry_(entry) {}

    std::string_view name() const { return entry_.match_name; }
    std::string_view initials() const { return entry_.initials; }
    std::size_t word_count() const { return entry_.words.size(); }
    std::string_view word(std::size_t i) const { return entry_.words[i]; }
    std::size_t alias_count() const { return entry_.aliases.size(); }
    std::string_view alias(std::size_t i) const { return entry_.aliases[i]; }
    std::string_view file_stem() const {
        return entry_.file_stem ? std::string_view(*entry_.file_stem) : std::string_view();
    }
    std::uint64_t word_start_mask() const { return entry_.word_start_mask; }

  private:
    const CatalogEntry& entry_;
};

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
    parts.compact_characters.reserve(count_characters(text));
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
    return ladder::score(EntryFields(entry), query, ladder::KeepAll{});
}

double hour_term(const KeyWeights& weights, unsigned hour) {
    const double n = weights.key_weight + 1.0;
    const auto& h = weights.hour_weight;
    const unsigned now = hour % 24;
    const unsigned before = now == 0 ? 23 : now - 1;
    const unsigned after = now == 23 ? 0 : now + 1;
    const double s = k::kHourNeighbourShare * h[after] +
                     (k::kHourNeighbourShare * h[before] + k::kHourSelfShare * h[now]) +
                     k::kHourSmoothing;
    return std::log((s / n) * 24.0);
}

double day_term(const KeyWeights& weights, unsigned weekend) {
    const double n = weights.key_weight + 1.0;
    const unsigned d = weekend != 0 ? 1 : 0;
    const double p = d == 1 ? k::kWeekendDays : k::kWeekDays;
    return std::log(((weights.day_weight[d] + p) / n) / p);
}

double context_score(const KeyWeights& weights, ClockSlot clock) {
    return hour_term(weights, clock.hour) + day_term(weights, clock.weekend);
}

double frequency_term(const KeyWeights& weights) {
    return std::log(weights.key_weight + 1.0) * k::kFrequencyFactor;
}

BonusTerms bonus_terms(const KeyWeights& weights) {
    BonusTerms terms;
    terms.frequency = frequency_term(weights);
    for (unsigned hour = 0; hour < 24; ++hour) {
        terms.hour[hour] = hour_term(weights, hour);
    }
    terms.day = {day_term(weights, 0), day_term(weights, 1)};
    return terms;
}

double context_score(const LearningMemory& memory, std::string_view key, ClockSlot clock) {
    const auto weights = memory.keys.find(key);
    // A key never launched has neither an hour nor a day term.
    return weights == memory.keys.end() ? 0.0 : context_score(weights->second, clock);
}

LearnedBonus::LearnedBonus(const LearningMemory& memory, std::string_view query, ClockSlot clock)
    : memory_(memory), clock_(clock), any_keys_(!memory.keys.empty()), rebuilt_(rebuilt(memory)) {
    const auto inner = memory.prefix_key_weight.find(query);
    const auto sum = memory.prefix_weight.find(query);
    if (inner != memory.prefix_key_weight.end() && sum != memory.prefix_weight.end() &&
        sum->second > 0) {
        shares_ = &inner->second;
        share_total_ = sum->second;
    }
    if (rebuilt_ && shares_ != nullptr) {
        launched_shares_.assign(memory.launched.size(), 0.0);
        for (const auto& [text, weight] : *shares_) {
            const std::string_view key_text = text;
            const auto hash_high =
                static_cast<std::uint32_t>(std::uint64_t{TextHash{}(key_text)} >> 32);
            const auto* key = memory.launched.find(hash_high, [key_text] { return key_text; });
            if (key != nullptr) {
                launched_shares_[memory.launched.number(*key)] = share(weight);
            }
        }
    }
}

double LearnedBonus::share(double weight) const {
    return weight / share_total_ * k::kPrefixShareFactor;
}

double LearnedBonus::share(const HashedText& key) const {
    if (shares_ == nullptr) {
        return 0;
    }
    const auto p = shares_->find(key);
    return p == shares_->end() ? 0 : share(p->second);
}

float LearnedBonus::sum(double context, double frequency, double share) const {
    const double c = std::clamp(context, -k::kContextClamp, k::kContextClamp);
    return static_cast<float>(c * k::kContextFactor + (frequency + share));
}

float LearnedBonus::from_tables(const HashedText& key) const {
    const auto found = memory_.keys.find(key);
    if (found == memory_.keys.end()) {
        return 0;
    }
    const KeyWeights& weights = found->second;
    return sum(context_score(weights, clock_), frequency_term(weights), share(key));
}

// The same value as from_tables: the terms are those functions' results.
float LearnedBonus::from_terms(const LaunchedKeys::Key& key) const {
    const double share =
        launched_shares_.empty() ? 0.0 : launched_shares_[memory_.launched.number(key)];
    const BonusTerms& terms = key.terms;
    const double context = terms.hour[clock_.hour % 24] + terms.day[clock_.weekend != 0];
    return sum(context, terms.frequency, share);
}

float learned_bonus(const LearningMemory& memory, std::string_view key, std::string_view query,
                    ClockSlot clock) {
    return LearnedBonus(memory, query, clock).from_tables(HashedText{key, TextHash{}(key)});
}

}  // namespace talvo
