// The popup's rows: for a typed query the six best-scored entries, for an
// empty query the entries the learning memory expects now; and the popup size
// that fits them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/brain.h"
#include "core/matching/learning_memory.h"
#include "core/matching/match_index.h"
#include "core/shell/platform.h"
#include "core/text/text_map.h"

namespace talvo {

// Hour (modulo 24) and weekend flag of a local time.
ClockSlot clock_slot(const LocalTime& local);

// Everything the rows are computed from; the UI state owns each part.
struct ResultSources {
    const Catalog& catalog;
    const KeyIndex& key_index;
    const HiddenKeys& hidden_keys;
    const LearningMemory& memory;
    const MatchIndex& match_index;  // of catalog and hidden_keys
};

// Copies of at most six entries, best first. `raw_query` is the edit line as
// typed; empty or white space only means suggestions.
std::vector<CatalogEntry> compute_results(const ResultSources& sources, std::string_view raw_query,
                                          ClockSlot clock);

// The suggestions for an empty query: at most six catalogue positions, from
// the best `hidden + 6` learned keys by prior, skipping unknown and hidden keys.
std::vector<std::size_t> suggestions(const ResultSources& sources, ClockSlot clock);

// The score of a learned key among the suggestions: ln((K + 0.01) / (total +
// 0.01)) plus its unclamped context score.
double suggestion_prior(const LearningMemory& memory, std::string_view key, ClockSlot clock);

// Selection kept when a new catalogue arrives while the popup shows results.
std::size_t selection_after_new_catalog(std::size_t previous, std::size_t rows, bool query_empty);

}  // namespace talvo
