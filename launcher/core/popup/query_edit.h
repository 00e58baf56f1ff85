// Edits of the popup's query: typing appends at the end and deleting works at
// the end, there is no text cursor.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

// Backspace: removes the last character (a whole UTF-8 sequence).
void erase_last_character(std::string& query);

// Ctrl+Backspace: drops trailing white space, then cuts just after the last
// space (keeping it); without a space the query becomes empty.
void erase_last_word(std::string& query);

// The part of pasted text that is used: up to the first line feed, without a
// carriage return right before it.
std::string_view first_line(std::string_view pasted);

}  // namespace talvo
