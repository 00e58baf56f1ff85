#include "core/text/fold.h"

#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

// Base letters of U+00E0 to U+00FF; 0 keeps the character (æ ð ÷ ø þ).
constexpr char kAccentBase[32] = {
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c',  // à á â ã ä å æ ç
    'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // è é ê ë ì í î ï
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,    // ð ñ ò ó ô õ ö ÷
    0,   'u', 'u', 'u', 'u', 'y', 0,   'y',  // ø ù ú û ü ý þ ÿ
};

void append_without_accent(std::string& out, char32_t c) {
    if (c >= 0xE0 && c <= 0xFF && kAccentBase[c - 0xE0] != 0) {
        out.push_back(kAccentBase[c - 0xE0]);
    } else {
        append_utf8(out, c);
    }
}

}  // namespace

std::string fold(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::u32string lowered;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out.push_back(byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32)
                                                     : static_cast<char>(byte));
            ++pos;
            continue;
        }
        const char32_t c = decode_utf8(text, pos);
        if (c < 0xC0) {
            append_utf8(out, c);
            continue;
        }
        lowered.clear();
        append_lower(lowered, c);
        for (const char32_t l : lowered) {
            append_without_accent(out, l);
        }
    }
    return out;
}

std::string_view trim_white_space(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t next = begin;
        if (!is_white_space(decode_utf8(text, next))) {
            break;
        }
        begin = next;
    }
    std::size_t end = text.size();
    while (end > begin) {
        std::size_t start = begin + last_character_start(text.substr(begin, end - begin));
        std::size_t next = start;
        if (!is_white_space(decode_utf8(text, next))) {
            break;
        }
        end = start;
    }
    return text.substr(begin, end - begin);
}

std::string prepare_query(std::string_view raw) {
    return fold(trim_white_space(raw));
}

std::vector<std::string_view> query_words(std::string_view query) {
    std::vector<std::string_view> words;
    std::size_t word_start = 0;
    std::size_t pos = 0;
    while (pos < query.size()) {
        const std::size_t start = pos;
        if (is_white_space(decode_utf8(query, pos))) {
            if (start > word_start) {
                words.push_back(query.substr(word_start, start - word_start));
            }
            word_start = pos;
        }
    }
    if (query.size() > word_start) {
        words.push_back(query.substr(word_start));
    }
    return words;
}

std::string compact(std::string_view query) {
    std::string out;
    out.reserve(query.size());
    std::size_t pos = 0;
    while (pos < query.size()) {
        const std::size_t start = pos;
        if (!is_white_space(decode_utf8(query, pos))) {
            out.append(query.substr(start, pos - start));
        }
    }
    return out;
}

}  // namespace talvo
