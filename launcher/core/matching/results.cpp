#include "core/matching/results.h"

#include <algorithm>
#include <cmath>

#include "core/matching/index_scan.h"
#include "core/matching/ranking.h"
#include "core/text/fold.h"

namespace talvo {
namespace {

// Added to both weights so a key of weight 0 still gets a finite prior.
constexpr double kPriorSmoothing = 0.01;

struct RankedKey {
    std::int64_t order;  // total order of the prior
    const std::string* key;
};

std::vector<CatalogEntry> copies(const Catalog& catalog,
                                 const std::vector<std::size_t>& positions) {
    std::vector<CatalogEntry> rows;
    rows.reserve(positions.size());
    for (const std::size_t i : positions) {
        rows.push_back(catalog[i]);
    }
    return rows;
}

std::vector<std::size_t> typed_results(const ResultSources& sources, std::string_view query,
                                       ClockSlot clock) {
    std::vector<ScoredEntry> pairs;
    best_matches(sources.match_index, sources.catalog, query, clock, sources.memory, pairs);
    std::vector<std::size_t> positions;
    positions.reserve(pairs.size());
    for (const ScoredEntry& pair : pairs) {
        positions.push_back(pair.index);
    }
    return positions;
}

// How likely a learned key is wanted now: its share of all launches and its
// fit to this hour and kind of day.
double prior_of(const LearningMemory& memory, const KeyWeights& weights, ClockSlot clock) {
    return std::log((weights.key_weight + kPriorSmoothing) /
                    (memory.total_weight + kPriorSmoothing)) +
           context_score(weights, clock);
}

std::vector<RankedKey> ranked_keys(const LearningMemory& memory, ClockSlot clock) {
    std::vector<RankedKey> ranked;
    ranked.reserve(memory.keys.size());
    for (const auto& [key, weights] : memory.keys) {
        ranked.push_back({total_order_key(prior_of(memory, weights, clock)), &key});
    }
    return ranked;
}

}  // namespace

double suggestion_prior(const LearningMemory& memory, std::string_view key, ClockSlot clock) {
    const auto weights = memory.keys.find(key);
    if (weights == memory.keys.end()) {
        return std::log(kPriorSmoothing / (memory.total_weight + kPriorSmoothing));
    }
    return prior_of(memory, weights->second, clock);
}

ClockSlot clock_slot(const LocalTime& local) {
    const int hour = ((local.hour % 24) + 24) % 24;
    const bool weekend = local.weekday == 0 || local.weekday == 6;
    return ClockSlot{static_cast<unsigned>(hour), weekend ? 1u : 0u};
}

std::vector<CatalogEntry> compute_results(const ResultSources& sources, std::string_view raw_query,
                                          ClockSlot clock) {
    const std::string query = prepare_query(raw_query);
    if (query.empty()) {
        return copies(sources.catalog, suggestions(sources, clock));
    }
    return copies(sources.catalog, typed_results(sources, query, clock));
}

std::vector<std::size_t> suggestions(const ResultSources& sources, ClockSlot clock) {
    std::vector<RankedKey> ranked = ranked_keys(sources.memory, clock);
    // Hidden keys may take candidate places, so the pool grows by their number;
    // keys that left the catalogue still use up theirs.
    const std::size_t candidates =
        std::min(ranked.size(), sources.hidden_keys.size() + kMaxResults);
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(candidates),
                      ranked.end(),
                      [](const RankedKey& a, const RankedKey& b) { return a.order > b.order; });

    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < candidates && positions.size() < kMaxResults; ++i) {
        const std::string& key = *ranked[i].key;
        const auto found = sources.key_index.find(key);
        if (found == sources.key_index.end() || found->second >= sources.catalog.size() ||
            sources.hidden_keys.contains(key)) {
            continue;
        }
        positions.push_back(found->second);
    }
    return positions;
}

std::size_t selection_after_new_catalog(std::size_t previous, std::size_t rows, bool query_empty) {
    if (query_empty) {
        // The same row stays lit, or the last one when the list got shorter.
        return std::min(previous, rows == 0 ? 0 : rows - 1);
    }
    return previous < rows ? previous : 0;
}

}  // namespace talvo
