// Orders scored entries for display: best score first, then the shorter
// name, then catalogue order.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/brain.h"

namespace talvo {

inline constexpr std::size_t kMaxResults = 6;

// Keys whose signed integer order is the IEEE-754 total order of the values.
inline std::int32_t total_order_key(float value) {
    auto bits = std::bit_cast<std::int32_t>(value);
    // Negative values order backwards as integers: flip all but the sign bit.
    bits ^= static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 31) >> 1);
    return bits;
}

inline std::int64_t total_order_key(double value) {
    auto bits = std::bit_cast<std::int64_t>(value);
    bits ^= static_cast<std::int64_t>(static_cast<std::uint64_t>(bits >> 63) >> 1);
    return bits;
}

// The best few of a stream of scored entries that arrive in catalogue order,
// kept in display order: most offers end at one comparison with the last kept.
class BestMatches {
  public:
    explicit BestMatches(std::size_t keep) : keep_(keep < kMaxResults ? keep : kMaxResults) {}

    // Whether an entry of this score and name length would be kept now.
    bool would_keep(float score, std::size_t name_size) const {
        return !full_ || ahead(Rank{total_order_key(score), name_size}, last_);
    }

    // `name_size` is the byte length of the entry's shown name.
    void offer(ScoredEntry pair, std::size_t name_size) {
        const Rank rank{total_order_key(pair.score), name_size};
        if (full_ && !ahead(rank, last_)) {
            return;
        }
        // An entry goes after every kept one that is at least as good: with
        // equal scores and name lengths, catalogue order decides.
        std::size_t at = count_ < keep_ ? count_++ : keep_ - 1;
        for (; at > 0 && ahead(rank, kept_[at - 1].rank); --at) {
            kept_[at] = kept_[at - 1];
        }
        kept_[at] = {rank, pair};
        last_ = kept_[count_ - 1].rank;
        full_ = count_ == keep_;
    }

    // The kept pairs, best first, into `out` (cleared first).
    void take(std::vector<ScoredEntry>& out) const;

  private:
    struct Rank {
        std::int32_t score;  // total order key
        std::size_t name_size;
    };
    struct Kept {
        Rank rank;
        ScoredEntry pair;
    };

    // The better score first, then the shorter name.
    static bool ahead(const Rank& a, const Rank& b) {
        return a.score > b.score || (a.score == b.score && a.name_size < b.name_size);
    }

    std::array<Kept, kMaxResults> kept_{};
    // The last kept (worst) rank; with keep 0 nothing is ahead of it.
    Rank last_{std::numeric_limits<std::int32_t>::max(), 0};
    std::size_t count_ = 0;
    std::size_t keep_;
    bool full_ = keep_ == 0;
};

}  // namespace talvo
