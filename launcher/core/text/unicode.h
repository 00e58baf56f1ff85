// Character properties and case mappings from the generated Unicode tables.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

bool is_alphabetic(char32_t c);
bool is_numeric(char32_t c);  // general category Nd, Nl or No
bool is_uppercase(char32_t c);
bool is_lowercase(char32_t c);
bool is_white_space(char32_t c);

// Appends the full unconditional case mapping of `c` (one to three characters).
void append_lower(std::u32string& out, char32_t c);
void append_upper(std::u32string& out, char32_t c);

// Whole-text mappings of valid UTF-8 text, character by character, no context rules.
std::string to_lower(std::string_view text);
std::string to_upper(std::string_view text);

}  // namespace talvo
