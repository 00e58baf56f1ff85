#include "core/text/utf.h"

#include <cstdint>

namespace talvo {
namespace {

bool is_continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

bool is_surrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Decodes one well-formed sequence at `pos`; returns its length, or 0 when the
// bytes there are not a valid sequence (overlong, surrogate, out of range, cut).
std::size_t valid_sequence(std::string_view text, std::size_t pos, char32_t& out) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if (b0 < 0x80) {
        out = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, c = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, c = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, c = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if (!is_continuation(b)) {
            return 0;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || is_surrogate(c)) {
        return 0;
    }
    out = c;
    return length;
}

}  // namespace

bool is_valid_utf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        char32_t c;
        const std::size_t length = valid_sequence(text, pos, c);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

char32_t decode_utf8(std::string_view text, std::size_t& pos) {
    char32_t c;
    const std::size_t length = valid_sequence(text, pos, c);
    if (length == 0) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return c;
}

void append_utf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || is_surrogate(c)) {
        c = kReplacementCharacter;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::size_t count_characters(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text) {
        count += !is_continuation(static_cast<unsigned char>(byte));
    }
    return count;
}

std::size_t first_character_length(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    std::size_t pos = 0;
    decode_utf8(text, pos);
    return pos;
}

std::size_t last_character_start(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    // Step back over at most three continuation bytes to the lead byte.
    std::size_t start = text.size() - 1;
    const std::size_t limit = text.size() >= 4 ? text.size() - 4 : 0;
    while (start > limit && is_continuation(static_cast<unsigned char>(text[start]))) {
        --start;
    }
    std::size_t end = start;
    decode_utf8(text, end);
    // Bytes that do not form one valid sequence ending the text go one at a time.
    return end == text.size() ? start : text.size() - 1;
}

std::string utf16_to_utf8(std::u16string_view text, InvalidUtf16 policy) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            ++i;
        } else if (is_surrogate(unit)) {
            if (policy == InvalidUtf16::Empty) {
                return {};
            }
            c = kReplacementCharacter;
        }
        append_utf8(out, c);
    }
    return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = decode_utf8(text, pos);
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

}  // namespace talvo
