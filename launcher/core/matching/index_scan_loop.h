// The one candidate loop behind match_entries and best_matches: the byte
// planes, the ceiling, then the ladder and the learned bonus. Each entry
// point has its own file, so the launcher links only the one it calls.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/matching/brain.h"
#include "core/matching/ladder.h"
#include "core/matching/match_index.h"

namespace talvo::index_scan {

constexpr std::size_t kBlock = MatchIndex::kBlock;

// The planes of the query's mask bits, at most one per distinct byte class.
struct QueryPlanes {
    std::array<const std::uint64_t*, 64> planes{};
    std::size_t count = 0;

    QueryPlanes(const MatchIndex& index, std::uint64_t byte_mask) {
        for (; byte_mask != 0; byte_mask &= byte_mask - 1) {
            planes[count++] = index.plane(static_cast<unsigned>(std::countr_zero(byte_mask)));
        }
    }

    // The rows of a block whose masks hold every byte of the query.
    std::uint64_t candidates(std::size_t block, std::uint64_t rows_in_block) const {
        std::uint64_t hits = rows_in_block;
        for (std::size_t i = 0; i < count; ++i) {
            hits &= planes[i][block];
        }
        return hits;
    }
};

// The highest base score a row could get, told without the ladder. With the
// kept rows full, most entries are passed over on this bound.
class Ceiling {
  public:
    explicit Ceiling(const QueryParts& parts)
        : query_(parts.query),
          with_aliases_(
              scoring::best_from(scoring::Rung::AliasEqual, {true, parts.words.size() == 1, true})),
          name_equal_(
              scoring::best_from(scoring::Rung::NameEqual, {false, parts.words.size() == 1})),
          below_names_(
              scoring::best_from(scoring::Rung::AliasPrefix, {false, parts.words.size() == 1})) {}

    float of(const MatchIndex::Row& row) const {
        if (row.alias_count > 0) {
            return with_aliases_;
        }
        return std::max(stem_equal(row) ? scoring::kFileStemEqual : 0.0f, of_names(row));
    }

  private:
    // A stem may equal the query whatever the name holds, when its size does.
    bool stem_equal(const MatchIndex::Row& row) const {
        return row.stem_size == MatchIndex::kLongStem
                   ? query_.size() >= MatchIndex::kLongStem
                   : row.stem_size != 0 && row.stem_size == query_.size();
    }

    float of_names(const MatchIndex::Row& row) const {
        // The name rungs need a name that is at least as long as the query
        // and begins like it.
        if (row.name_size < query_.size() ||
            (!query_.empty() && row.first_byte != query_.front())) {
            return below_names_;
        }
        if (row.name_size == query_.size()) {
            return name_equal_;
        }
        return std::max(below_names_, ladder::name_prefix_score(row.name_size, query_.size()));
    }

    std::string_view query_;
    float with_aliases_;  // every rung may hold
    float name_equal_;    // no alias rung, the name may equal the query
    float below_names_;   // the word rungs and all below, without aliases
};

// What every row of one keystroke is scored against.
struct Keystroke {
    const MatchIndex& index;
    const Catalog& catalog;
    const QueryParts& parts;
};

// The ladder and the kept rows for a row that passed the ceiling. Kept out of
// the candidate loop, which most rows leave on the ceiling: that loop then
// holds its few values in registers.
template <typename Matches>
[[gnu::noinline]] void score_row(const Keystroke& keystroke, const MatchIndex::Row& row,
                                 float bonus, const Matches& matches) {
    std::optional<float> base;
    std::size_t name_size = 0;
    if (row.is_long()) {
        const CatalogEntry& entry = keystroke.catalog[row.entry];
        name_size = entry.name.size();
        base = base_score(entry, keystroke.parts);
    } else {
        name_size = row.display_size;
        base = ladder::score(keystroke.index.fields(row), keystroke.parts,
                             matches.bar(bonus, name_size));
    }
    if (base) {
        matches.add(ScoredEntry{*base + bonus, row.entry}, name_size);
    }
}

template <typename Matches>
void scan(const MatchIndex& index, const Catalog& catalog, std::string_view query, ClockSlot clock,
          const LearningMemory& memory, const Matches& matches) {
    // An index of another catalogue would point at the wrong entries.
    if (index.catalog_size() != catalog.size()) {
        return;
    }
    const QueryParts parts = split_query(query);
    const LearnedBonus learned(memory, query, clock);
    const QueryPlanes planes(index, parts.byte_mask);
    const Ceiling ceiling(parts);
    const Keystroke keystroke{index, catalog, parts};
    const std::size_t blocks = index.blocks();
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::size_t rows_left = index.size() - block * kBlock;
        const std::uint64_t rows_in_block =
            rows_left >= kBlock ? ~std::uint64_t{0} : (std::uint64_t{1} << rows_left) - 1;
        for (std::uint64_t hits = planes.candidates(block, rows_in_block); hits != 0;
             hits &= hits - 1) {
            const MatchIndex::Row& row = index.row(block * kBlock + std::countr_zero(hits));
            const float bonus = learned.of(
                row.key_hash, [&]() -> const CatalogEntry& { return catalog[row.entry]; });
            // A long row's sizes are in its entry: it always takes the ladder.
            if (row.is_long() || matches.bar(bonus, row.display_size).reachable(ceiling.of(row))) {
                score_row(keystroke, row, bonus, matches);
            }
        }
    }
}

}  // namespace talvo::index_scan
