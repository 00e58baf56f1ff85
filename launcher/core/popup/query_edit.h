// Edits of the popup's query: typing appends at the end and deleting works at
// the end, there is no text cursor. Every change of the query goes through
// `edit_query`, which keeps it within `kQueryMaxCharacters`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace talvo {

// The longest query, in characters. A paragraph pasted by mistake would
// otherwise make every keystroke and every paint of the popup slower, without
// ever matching an entry better than its first words do.
inline constexpr std::size_t kQueryMaxCharacters = 256;

struct QueryEdit {
    enum class Kind : std::uint8_t {
        Append,          // `text` at the end, as many leading characters as still fit
        Replace,         // the query becomes `text`, cut to the limit (Tab's completion)
        EraseCharacter,  // Backspace
        EraseWord,       // Ctrl+Backspace
    };

    Kind kind = Kind::Append;
    std::string_view text = {};
};

// The one way the query changes.
void edit_query(std::string& query, const QueryEdit& edit);

// One UTF-16 unit typed into the popup (WM_CHAR): Backspace, Ctrl+V (0x16,
// whose text `clipboard` is asked for), Ctrl+Backspace (0x7F) or a character.
// Other control characters are ignored entirely: the result is false and the
// rows are not refreshed. A surrogate half types nothing, but the rows are
// refreshed (characters outside the Basic Multilingual Plane cannot be typed).
bool type_unit(std::string& query, char16_t unit, const std::function<std::string()>& clipboard);

// Backspace: removes the last character (a whole UTF-8 sequence).
void erase_last_character(std::string& query);

// Ctrl+Backspace: drops trailing white space, then cuts just after the last
// space (keeping it); without a space the query becomes empty.
void erase_last_word(std::string& query);

// The part of pasted text that is used: up to the first line feed, without a
// carriage return right before it.
std::string_view first_line(std::string_view pasted);

}  // namespace talvo
