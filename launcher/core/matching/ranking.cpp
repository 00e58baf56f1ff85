#include "core/matching/ranking.h"

#include <algorithm>

namespace talvo {

void rank_matches(std::vector<ScoredEntry>& pairs, const Catalog& catalog, std::size_t keep) {
    const auto before = [&](const ScoredEntry& a, const ScoredEntry& b) {
        const std::int32_t ka = total_order_key(a.score);
        const std::int32_t kb = total_order_key(b.score);
        if (ka != kb) {
            return ka > kb;
        }
        const std::size_t la = catalog[a.index].name.size();
        const std::size_t lb = catalog[b.index].name.size();
        if (la != lb) {
            return la < lb;
        }
        return a.index < b.index;  // pairs arrive in catalogue order
    };
    const std::size_t kept = std::min(keep, pairs.size());
    std::partial_sort(pairs.begin(), pairs.begin() + static_cast<std::ptrdiff_t>(kept), pairs.end(),
                      before);
    pairs.resize(kept);
}

void BestMatches::take(std::vector<ScoredEntry>& out) const {
    out.clear();
    for (std::size_t i = 0; i < count_; ++i) {
        out.push_back(kept_[i].pair);
    }
}

}  // namespace talvo
