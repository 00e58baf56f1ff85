// UTF-8 is the text form everywhere inside Talvo; UTF-16 appears only at the
// system's edge. These helpers convert between the two and walk UTF-8 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvo {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// What to do with UTF-16 that holds an unpaired surrogate.
enum class InvalidUtf16 {
    Replace,  // each unpaired surrogate becomes U+FFFD
    Empty,    // the whole text becomes empty
};

bool is_valid_utf8(std::string_view text);

// Decodes the character at `pos` and moves `pos` past it. Text that is not
// valid UTF-8 yields U+FFFD and moves one byte, so no input can overrun.
char32_t decode_utf8(std::string_view text, std::size_t& pos);

void append_utf8(std::string& out, char32_t c);

// Number of Unicode scalar values in valid UTF-8 text.
std::size_t count_characters(std::string_view text);

// Byte length of the first character (0 for an empty text).
std::size_t first_character_length(std::string_view text);

// Start of the last character (0 for an empty text).
std::size_t last_character_start(std::string_view text);

std::string utf16_to_utf8(std::u16string_view text, InvalidUtf16 policy);
std::u16string utf8_to_utf16(std::string_view text);

}  // namespace talvo
