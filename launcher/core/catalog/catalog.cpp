#include "core/catalog/catalog.h"

#include <algorithm>

#include "core/text/byte_mask.h"
#include "core/text/fold.h"
#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

bool is_ascii_alphanumeric(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool is_word_character(char32_t c) {
    return is_ascii_alphanumeric(c) || (c >= 0xAA && is_alphabetic(c)) ||
           (c >= 0xB2 && is_numeric(c));
}

bool is_capital(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && is_uppercase(c));
}

// A capital after a small letter or a digit starts a new word: OneDrive, Win10Pro.
bool starts_camel_word(char32_t previous, char32_t c) {
    return is_capital(c) && (is_lowercase(previous) || is_numeric(previous));
}

std::string initials_of(const std::vector<std::string>& words) {
    std::string initials;
    for (const std::string& word : words) {
        initials.append(word, 0, first_character_length(word));
    }
    return initials;
}

}  // namespace

std::vector<std::string> name_words(std::string_view name) {
    std::vector<std::string> words;
    std::string word;
    const auto finish_word = [&] {
        if (!word.empty()) {
            words.push_back(fold(word));
            word.clear();
        }
    };
    char32_t previous = 0;
    std::size_t pos = 0;
    while (pos < name.size()) {
        const std::size_t start = pos;
        const char32_t c = decode_utf8(name, pos);
        if (!is_word_character(c)) {
            finish_word();
        } else {
            if (starts_camel_word(previous, c)) {
                finish_word();
            }
            word.append(name.substr(start, pos - start));
        }
        previous = c;
    }
    finish_word();
    return words;
}

CatalogEntry make_entry(std::string key, std::string name, std::string subtitle,
                        LaunchTarget target) {
    CatalogEntry entry;
    entry.match_name = fold(name);
    entry.byte_mask = byte_mask(entry.match_name);
    entry.words = name_words(name);
    entry.initials = initials_of(entry.words);
    for (const std::string& word : entry.words) {
        entry.word_start_mask |= byte_bit(static_cast<unsigned char>(word.front()));
    }
    entry.key = std::move(key);
    entry.key_text_hash = TextHash{}(entry.key);
    entry.name = std::move(name);
    entry.subtitle = std::move(subtitle);
    entry.target = std::move(target);
    return entry;
}

namespace {

// Words and initials are parts of match_name; the aliases and the stem are not.
std::uint64_t matching_byte_mask(const CatalogEntry& entry) {
    std::uint64_t mask = byte_mask(entry.match_name);
    for (const std::string& alias : entry.aliases) {
        mask |= byte_mask(alias);
    }
    if (entry.file_stem) {
        mask |= byte_mask(*entry.file_stem);
    }
    return mask;
}

}  // namespace

CatalogEntry with_aliases(CatalogEntry entry, const std::vector<std::string_view>& aliases) {
    entry.aliases.clear();
    entry.aliases.reserve(aliases.size());
    for (const std::string_view alias : aliases) {
        entry.aliases.push_back(fold(alias));
    }
    entry.byte_mask = matching_byte_mask(entry);
    return entry;
}

std::optional<std::string> file_stem_of(std::string_view target_path, const CatalogEntry& entry) {
    const std::size_t slash = target_path.find_last_of("\\/");
    const std::string_view file =
        slash == std::string_view::npos ? target_path : target_path.substr(slash + 1);
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return std::nullopt;
    }
    const std::string extension = fold(file.substr(dot));
    if (extension != ".exe" && extension != ".msc" && extension != ".cpl") {
        return std::nullopt;
    }
    std::string stem = fold(file.substr(0, dot));
    const bool says_nothing_new =
        stem == entry.match_name ||
        std::find(entry.words.begin(), entry.words.end(), stem) != entry.words.end();
    if (stem.empty() || says_nothing_new) {
        return std::nullopt;
    }
    return stem;
}

CatalogEntry with_file_stem(CatalogEntry entry, std::string_view target_path) {
    entry.file_stem = file_stem_of(target_path, entry);
    entry.byte_mask = matching_byte_mask(entry);
    return entry;
}

KeyIndex build_key_index(const Catalog& catalog) {
    KeyIndex index;
    index.reserve(catalog.size());
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        index.insert_or_assign(catalog[i].key, i);
    }
    return index;
}

bool is_command_key(std::string_view key) {
    return key.starts_with(kCmdKeyPrefix);
}

Catalog replace_builtins(Catalog builtins, const Catalog& current) {
    for (const CatalogEntry& entry : current) {
        if (!entry.key.starts_with(kCmdKeyPrefix) && !entry.key.starts_with(kDirKeyPrefix)) {
            builtins.push_back(entry);
        }
    }
    return builtins;
}

}  // namespace talvo
