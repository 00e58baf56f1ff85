#include "core/matching/index_scan.h"

#include "core/matching/index_scan_loop.h"

namespace talvo {
namespace {

// Only the best: an entry whose score cannot be kept needs no exact score.
struct BestOnly {
    BestMatches& best;

    // What a base score of an entry with this bonus and name length must reach.
    struct Bar {
        const BestMatches& best;
        float bonus;
        std::size_t name_size;

        bool reachable(float base) const { return best.would_keep(base + bonus, name_size); }
    };

    Bar bar(float bonus, std::size_t name_size) const { return {best, bonus, name_size}; }
    void add(ScoredEntry pair, std::size_t name_size) const { best.offer(pair, name_size); }
};

}  // namespace

void best_matches(const MatchIndex& index, const Catalog& catalog, std::string_view query,
                  ClockSlot clock, const LearningMemory& memory, std::vector<ScoredEntry>& out,
                  std::size_t keep) {
    BestMatches best(keep);
    index_scan::scan(index, catalog, query, clock, memory, BestOnly{best});
    best.take(out);
}

}  // namespace talvo
