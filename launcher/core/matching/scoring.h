// Every constant of the match ladder and of the learned bonus, in one place.
// docs/ranking.md explains how they fit together.
#pragma once

namespace talvo::scoring {

// Base score of each rung, tried from the top; the first that holds counts.
inline constexpr float kAliasEqual = 100.0f;
inline constexpr float kNameEqual = 98.0f;
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
