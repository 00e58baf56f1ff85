// Every constant of the match ladder and of the learned bonus, in one place.
// docs/ranking.md explains how they fit together.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace talvo::scoring {

// Base score of each rung, tried from the top; the first that holds counts.
inline constexpr float kAliasEqual = 100.0f;
inline constexpr float kNameEqual = 98.0f;
// Equality only: stems such as "setup" or "launcher" must not flood the rows
// of a query typed halfway.
inline constexpr float kFileStemEqual = 97.0f;
inline constexpr float kNamePrefix = 90.0f;  // minus a length penalty
inline constexpr float kNamePrefixPenaltyPerByte = 0.1f;
inline constexpr float kNamePrefixMaxPenalty = 8.0f;
inline constexpr float kAliasPrefix = 86.0f;
inline constexpr float kAllWordsPrefix = 76.0f;
inline constexpr float kWordPrefix = 78.0f;  // minus the position of the word
inline constexpr float kInitialsPrefix = 72.0f;
inline constexpr float kSubstring = 55.0f;
inline constexpr float kSubsequence = 45.0f;  // minus 2 per skipped character
inline constexpr float kSubsequencePerSkip = 2.0f;
inline constexpr float kSubsequenceFloor = 20.0f;

// The rungs in the order they are tried, each with the best base it gives.
// Two rungs need aliases, one a file stem; the all-words and the word rungs
// are alternatives, for a query of several words and of one.
enum class Rung : std::uint8_t {
    AliasEqual,
    NameEqual,
    FileStemEqual,
    NamePrefix,
    AliasPrefix,
    AllWordsPrefix,
    WordPrefix,
    InitialsPrefix,
    Substring,
    Subsequence,
};

struct RungScore {
    enum class Needs : std::uint8_t { Nothing, Aliases, FileStem, SeveralWords, OneWord };

    Rung rung;
    float highest;
    Needs needs = Needs::Nothing;
};

inline constexpr std::array<RungScore, 10> kRungs = {{
    {Rung::AliasEqual, kAliasEqual, RungScore::Needs::Aliases},
    {Rung::NameEqual, kNameEqual},
    {Rung::FileStemEqual, kFileStemEqual, RungScore::Needs::FileStem},
    {Rung::NamePrefix, kNamePrefix},
    {Rung::AliasPrefix, kAliasPrefix, RungScore::Needs::Aliases},
    {Rung::AllWordsPrefix, kAllWordsPrefix, RungScore::Needs::SeveralWords},
    {Rung::WordPrefix, kWordPrefix, RungScore::Needs::OneWord},
    {Rung::InitialsPrefix, kInitialsPrefix},
    {Rung::Substring, kSubstring},
    {Rung::Subsequence, kSubsequence},
}};

static_assert(
    [] {
        for (std::size_t i = 0; i < kRungs.size(); ++i) {
            if (static_cast<std::size_t>(kRungs[i].rung) != i) {
                return false;
            }
        }
        return true;
    }(),
    "the rungs are listed in the order they are tried, which is their enum order");

// What tells which rungs can hold for an entry and a query.
struct RungFacts {
    bool aliases = false;   // the entry has some
    bool one_word = false;  // the query is one word
    bool stem = false;      // the entry has a file stem
};

constexpr bool can_hold(const RungScore& rung, RungFacts facts) {
    switch (rung.needs) {
        case RungScore::Needs::Nothing:
            return true;
        case RungScore::Needs::Aliases:
            return facts.aliases;
        case RungScore::Needs::FileStem:
            return facts.stem;
        case RungScore::Needs::SeveralWords:
            return !facts.one_word;
        case RungScore::Needs::OneWord:
            return facts.one_word;
    }
    return true;
}

// The best base still possible from `from` on, that rung included: the
// maximum over the rungs left that can hold, since the order tried is not the
// order of scores (all words 76 is tried before word prefix 78, and the name
// prefix, 82 to 90, before the alias prefix, 86). 0 when none can.
constexpr float best_from_rungs(Rung from, RungFacts facts) {
    float best = 0;
    for (const RungScore& rung : kRungs) {
        if (rung.rung >= from && can_hold(rung, facts)) {
            best = std::max(best, rung.highest);
        }
    }
    return best;
}

// The same for every rung and every set of facts, worked out once: the ladder
// asks at each rung of each candidate entry.
constexpr std::size_t facts_row(RungFacts facts) {
    return (facts.stem ? 4 : 0) + (facts.aliases ? 2 : 0) + (facts.one_word ? 1 : 0);
}

inline constexpr auto kBestFrom = [] {
    std::array<std::array<float, kRungs.size()>, 8> table{};
    for (std::size_t row = 0; row < table.size(); ++row) {
        const RungFacts facts{(row & 2) != 0, (row & 1) != 0, (row & 4) != 0};
        for (std::size_t rung = 0; rung < kRungs.size(); ++rung) {
            table[facts_row(facts)][rung] = best_from_rungs(static_cast<Rung>(rung), facts);
        }
    }
    return table;
}();

constexpr float best_from(Rung from, RungFacts facts) {
    return kBestFrom[facts_row(facts)][static_cast<std::size_t>(from)];
}

// Initials and subsequence need at least this many characters in the compact query.
inline constexpr unsigned kMinCompactCharacters = 2;

// Learned bonus: C x 2.5 + ln(K + 1) x 4 + P / Q x 35.
inline constexpr double kContextFactor = 2.5;
inline constexpr double kContextClamp = 2.0;
inline constexpr double kFrequencyFactor = 4.0;
inline constexpr double kPrefixShareFactor = 35.0;

// Context score: neighbouring hours count a quarter each, the hour itself a half.
inline constexpr double kHourSelfShare = 0.5;
inline constexpr double kHourNeighbourShare = 0.25;
inline constexpr double kHourSmoothing = 1.0 / 24.0;
inline constexpr double kWeekendDays = 2.0 / 7.0;
inline constexpr double kWeekDays = 5.0 / 7.0;

}  // namespace talvo::scoring
