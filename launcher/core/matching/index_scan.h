// The keystroke path: every row of the match index against one query, in one
// pass over the byte masks, the ladder and the learned bonus only for the rows
// that hold the query's bytes.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/brain.h"
#include "core/matching/learning_memory.h"
#include "core/matching/match_index.h"
#include "core/matching/ranking.h"

namespace talvo {

// One pair per matching row, in catalogue order, into `out` (cleared first).
// `index` is built from `catalog`; `query` is prepared and not empty.
void match_entries(const MatchIndex& index, const Catalog& catalog, std::string_view query,
                   ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out);

// The best `keep` (at most kMaxResults) pairs of match_entries in display
// order (best score, then the shorter shown name, then catalogue order),
// without scoring every match in full: into `out` (cleared first).
void best_matches(const MatchIndex& index, const Catalog& catalog, std::string_view query,
                  ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out,
                  std::size_t keep = kMaxResults);

}  // namespace talvo
