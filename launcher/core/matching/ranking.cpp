#include "core/matching/ranking.h"

#include <algorithm>
#include <bit>

namespace talvo {

std::int32_t total_order_key(float value) {
    auto bits = std::bit_cast<std::int32_t>(value);
    // Negative values order backwards as integers: flip all but the sign bit.
    bits ^= static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 31) >> 1);
    return bits;
}

std::int64_t total_order_key(double value) {
    auto bits = std::bit_cast<std::int64_t>(value);
    bits ^= static_cast<std::int64_t>(static_cast<std::uint64_t>(bits >> 63) >> 1);
    return bits;
}

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

}  // namespace talvo
