// The match ladder, written once for any layout of an entry's matching
// fields: a CatalogEntry, or a row of the match index. A layout offers
// name(), initials(), word_count(), word(i), alias_count(), alias(i),
// file_stem() (empty when none) and word_start_mask(), every text folded UTF-8.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "core/matching/brain.h"
#include "core/matching/scoring.h"
#include "core/text/byte_mask.h"
#include "core/text/utf.h"

namespace talvo::ladder {

// Everything here is inlined into the scoring loop: the ladder runs once per
// candidate entry, and the calls cost as much as the few comparisons it makes.
// A build for size (the shipped launcher) leaves the choice to the compiler.
#ifdef __OPTIMIZE_SIZE__
#define TALVO_LADDER_INLINE inline
#else
#define TALVO_LADDER_INLINE [[gnu::always_inline]] inline
#endif

// starts_with as a byte loop: queries are a few bytes long and most
// comparisons on the keystroke path fail at the first byte, before any
// library call would have returned.
TALVO_LADDER_INLINE bool begins_with(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (text[i] != prefix[i]) {
            return false;
        }
    }
    return true;
}

// `name_size` bytes of name for `query_size` bytes of query.
TALVO_LADDER_INLINE float name_prefix_score(std::size_t name_size, std::size_t query_size) {
    const auto extra = static_cast<float>(name_size - query_size);
    return scoring::kNamePrefix -
           std::min(scoring::kNamePrefixPenaltyPerByte * extra, scoring::kNamePrefixMaxPenalty);
}

// The subsequence walk reads names eight bytes at a time (names are short:
// a library call costs more than the search). Byte k of a word is its k-th
// byte in memory.
static_assert(std::endian::native == std::endian::little);
inline constexpr std::uint64_t kEveryByte = 0x0101010101010101;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080;

TALVO_LADDER_INLINE std::uint64_t load_word(const char* from) {
    std::uint64_t word;
    std::memcpy(&word, from, sizeof word);
    return word;
}

// Characters in [from, to) of valid UTF-8: the bytes that are not
// continuation bytes (10xxxxxx).
TALVO_LADDER_INLINE std::size_t characters_between(const char* from, const char* to) {
    std::size_t count = static_cast<std::size_t>(to - from);
    for (; to - from >= 8; from += 8) {
        const std::uint64_t word = load_word(from);
        count -= static_cast<std::size_t>(std::popcount(word & ~(word << 1) & kHighBits));
    }
    for (; from < to; ++from) {
        count -= (static_cast<unsigned char>(*from) & 0xC0) == 0x80;
    }
    return count;
}

// The first byte equal to `byte` in [from, to), or nullptr. In a word, the
// lowest flagged byte of (x - 1...) & ~x & 80... is the first zero byte of x.
TALVO_LADDER_INLINE const char* find_byte(const char* from, const char* to, char byte) {
    const std::uint64_t pattern = kEveryByte * static_cast<unsigned char>(byte);
    for (; to - from >= 8; from += 8) {
        const std::uint64_t x = load_word(from) ^ pattern;
        const std::uint64_t zero = (x - kEveryByte) & ~x & kHighBits;
        if (zero != 0) {
            return from + std::countr_zero(zero) / 8;
        }
    }
    for (; from < to; ++from) {
        if (*from == byte) {
            return from;
        }
    }
    return nullptr;
}

// Whether `text` holds `piece` anywhere: its first byte searched a word at a
// time, the rest compared byte by byte where it is found.
TALVO_LADDER_INLINE bool contains(std::string_view text, std::string_view piece) {
    if (piece.size() > text.size()) {
        return false;
    }
    if (piece.empty()) {
        return true;
    }
    const char* at = text.data();
    const char* const last = text.data() + (text.size() - piece.size()) + 1;
    while ((at = find_byte(at, last, piece.front())) != nullptr) {
        if (begins_with(std::string_view(at, piece.size()), piece)) {
            return true;
        }
        ++at;
    }
    return false;
}

// The first occurrence of `character` in [from, to), or nullptr.
TALVO_LADDER_INLINE const char* find_character(const char* from, const char* to,
                                               std::string_view character) {
    if (character.size() == 1) {
        return find_byte(from, to, character.front());
    }
    const std::string_view rest(from, static_cast<std::size_t>(to - from));
    const std::size_t at = rest.find(character);
    return at == std::string_view::npos ? nullptr : from + at;
}

// Takes the query's characters from the name in order, each at its first
// occurrence after the previous one (so a single walk of the name). The
// characters skipped between the first taken one and the last cost 2 points
// each. Both texts are valid UTF-8, so a byte search for a whole character
// only ever finds it at a character boundary.
TALVO_LADDER_INLINE std::optional<float> subsequence_score(std::string_view name,
                                                           const std::vector<std::string>& wanted) {
    const char* at = name.data();
    const char* const end = name.data() + name.size();
    std::size_t skipped = 0;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const char* found = find_character(at, end, wanted[i]);
        if (found == nullptr) {
            return std::nullopt;
        }
        if (i > 0) {
            skipped += characters_between(at, found);
        }
        at = found + wanted[i].size();
    }
    const float penalty = scoring::kSubsequencePerSkip * static_cast<float>(skipped);
    return std::max(scoring::kSubsequence - penalty, scoring::kSubsequenceFloor);
}

template <typename Fields>
TALVO_LADDER_INLINE bool any_alias_equal(const Fields& entry, std::string_view query) {
    for (std::size_t i = 0; i < entry.alias_count(); ++i) {
        if (entry.alias(i) == query) {
            return true;
        }
    }
    return false;
}

template <typename Fields>
TALVO_LADDER_INLINE bool any_alias_starts_with(const Fields& entry, std::string_view query) {
    for (std::size_t i = 0; i < entry.alias_count(); ++i) {
        if (begins_with(entry.alias(i), query)) {
            return true;
        }
    }
    return false;
}

template <typename Fields>
TALVO_LADDER_INLINE bool some_word_starts_with(const Fields& entry, std::string_view prefix) {
    for (std::size_t i = 0; i < entry.word_count(); ++i) {
        if (begins_with(entry.word(i), prefix)) {
            return true;
        }
    }
    return false;
}

template <typename Fields>
TALVO_LADDER_INLINE bool every_word_starts_an_entry_word(const Fields& entry,
                                                         const QueryParts& query) {
    if (entry.word_count() == 0) {
        return false;
    }
    return std::all_of(query.words.begin(), query.words.end(),
                       [&](std::string_view word) { return some_word_starts_with(entry, word); });
}

template <typename Fields>
TALVO_LADDER_INLINE std::optional<float> word_prefix_score(const Fields& entry,
                                                           std::string_view query) {
    for (std::size_t i = 0; i < entry.word_count(); ++i) {
        if (begins_with(entry.word(i), query)) {
            return scoring::kWordPrefix - static_cast<float>(i);
        }
    }
    return std::nullopt;
}

// For callers that want every match: every score can be kept.
struct KeepAll {
    bool reachable(float) const { return true; }
};

// Base score of the first rung that holds. The caller has checked the byte
// mask: the entry holds every non-space byte of the query.
//
// `bar.reachable(b)` tells whether a base score of b could still be kept
// (the best-six selection knows). Before each rung the ladder asks with the
// highest base the rungs left could give; when even that is out of reach the
// entry's score, whatever it is, will not be kept, and the ladder stops
// without a score.
template <typename Fields, typename Bar>
TALVO_LADDER_INLINE std::optional<float> score(const Fields& entry, const QueryParts& query,
                                               const Bar& bar) {
    namespace k = scoring;
    using k::Rung;
    const std::string_view q = query.query;
    const std::string_view name = entry.name();
    const bool aliases = entry.alias_count() > 0;
    const bool one_word = query.words.size() == 1;
    const bool many_words = query.words.size() >= 2;
    const std::string_view stem = entry.file_stem();
    const k::RungFacts facts{aliases, one_word, !stem.empty()};
    if (aliases) {
        if (!bar.reachable(k::best_from(Rung::AliasEqual, facts))) {
            return std::nullopt;
        }
        if (any_alias_equal(entry, q)) {
            return k::kAliasEqual;
        }
    }
    if (!bar.reachable(k::best_from(Rung::NameEqual, facts))) {
        return std::nullopt;
    }
    if (name == q) {
        return k::kNameEqual;
    }
    if (!stem.empty()) {
        if (!bar.reachable(k::best_from(Rung::FileStemEqual, facts))) {
            return std::nullopt;
        }
        if (stem == q) {
            return k::kFileStemEqual;
        }
    }
    const float word_rungs = k::best_from(Rung::AllWordsPrefix, facts);
    const float below_prefix = k::best_from(Rung::AliasPrefix, facts);
    if (name.size() > q.size()) {
        const float prefix = name_prefix_score(name.size(), q.size());
        if (!bar.reachable(std::max(prefix, below_prefix))) {
            return std::nullopt;
        }
        if (begins_with(name, q)) {
            return prefix;
        }
    }
    if (!bar.reachable(below_prefix)) {
        return std::nullopt;
    }
    if (aliases && any_alias_starts_with(entry, q)) {
        return k::kAliasPrefix;
    }
    if (!bar.reachable(word_rungs)) {
        return std::nullopt;
    }
    // The word and initials rungs need each query word to begin like an entry
    // word (each character of matching initials is the start of a word).
    const bool word_starts_fit = may_hold_all(entry.word_start_mask(), query.word_start_mask);
    if (word_starts_fit && many_words) {
        if (every_word_starts_an_entry_word(entry, query)) {
            return k::kAllWordsPrefix;
        }
    } else if (word_starts_fit && one_word) {
        if (const auto score = word_prefix_score(entry, q)) {
            return score;
        }
    }
    const bool long_enough = query.compact_characters.size() >= k::kMinCompactCharacters;
    if (long_enough && word_starts_fit) {
        if (!bar.reachable(k::best_from(Rung::InitialsPrefix, facts))) {
            return std::nullopt;
        }
        if (begins_with(entry.initials(), query.compact)) {
            return k::kInitialsPrefix;
        }
    }
    if (!bar.reachable(k::best_from(Rung::Substring, facts))) {
        return std::nullopt;
    }
    if (!long_enough) {
        return contains(name, q) ? std::optional(k::kSubstring) : std::nullopt;
    }
    // A name that holds the query holds its characters in order, so a failed
    // subsequence walk (the cheaper test) also rules out the substring rung.
    const std::optional<float> subsequence = subsequence_score(name, query.compact_characters);
    if (subsequence && contains(name, q)) {
        return k::kSubstring;
    }
    if (!bar.reachable(k::best_from(Rung::Subsequence, facts))) {
        return std::nullopt;
    }
    return subsequence;
}

}  // namespace talvo::ladder

#undef TALVO_LADDER_INLINE
