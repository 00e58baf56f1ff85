#include "core/matching/ranking.h"

namespace talvo {

void BestMatches::take(std::vector<ScoredEntry>& out) const {
    out.clear();
    for (std::size_t i = 0; i < count_; ++i) {
        out.push_back(kept_[i].pair);
    }
}

}  // namespace talvo
