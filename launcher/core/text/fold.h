// The one text normalisation of the launcher: names, queries and the history
// are all compared after `fold`, so "Écran", "ecran" and "ECRAN" meet.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvo {

// ASCII A-Z to lower case; from U+00C0 the full Unicode lower-case mapping,
// then the Latin-1 accents removed (é → e, ç → c, ÿ → y; æ, ø, ß kept).
std::string fold(std::string_view text);

// Removes Unicode White_Space at both ends.
std::string_view trim_white_space(std::string_view text);

// The edit line as matched and as stored in the history: trimmed, then folded.
std::string prepare_query(std::string_view raw);

// The query split at runs of white space, empty pieces dropped.
std::vector<std::string_view> query_words(std::string_view query);

// The query with every white-space character removed.
std::string compact(std::string_view query);

}  // namespace talvo
