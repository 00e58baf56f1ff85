#include "core/matching/index_scan.h"

#include "core/matching/index_scan_loop.h"

namespace talvo {
namespace {

// Every match, in catalogue order.
struct AllMatches {
    std::vector<ScoredEntry>& out;

    ladder::KeepAll bar(float, std::size_t) const { return {}; }
    void add(ScoredEntry pair, std::size_t) const { out.push_back(pair); }
};

}  // namespace

void match_entries(const MatchIndex& index, const Catalog& catalog, std::string_view query,
                   ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out) {
    out.clear();
    out.reserve(index.size());
    index_scan::scan(index, catalog, query, clock, memory, AllMatches{out});
}

void match_entries(const Catalog& catalog, const HiddenKeys& hidden_keys, std::string_view query,
                   ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out) {
    match_entries(MatchIndex(catalog, hidden_keys), catalog, query, clock, memory, out);
}

std::vector<ScoredEntry> match_entries(const Catalog& catalog, const HiddenKeys& hidden_keys,
                                       std::string_view query, ClockSlot clock,
                                       const LearningMemory& memory) {
    std::vector<ScoredEntry> out;
    match_entries(catalog, hidden_keys, query, clock, memory, out);
    return out;
}

}  // namespace talvo
