#include "core/matching/match_index.h"

#include <bit>
#include <limits>

namespace talvo {
namespace {

// Every offset and size inside a short row fits 16 bits, and a short row's
// name size never equals kLongRow.
constexpr std::size_t kMaxRegion = MatchIndex::kLongRow - 1;

// Bytes of a row's texts when every word is found in the name.
std::size_t texts_size(const CatalogEntry& entry) {
    std::size_t size = entry.match_name.size() + entry.initials.size();
    for (const std::string& alias : entry.aliases) {
        size += alias.size();
    }
    return size + (entry.file_stem ? entry.file_stem->size() : 0);
}

std::size_t spans_size(const CatalogEntry& entry) {
    const std::size_t spans = entry.words.size() + entry.aliases.size() + (entry.file_stem ? 1 : 0);
    return spans * 2 * sizeof(std::uint16_t);
}

bool fits_short_row(const CatalogEntry& entry) {
    return texts_size(entry) <= kMaxRegion && entry.words.size() <= kMaxRegion &&
           entry.aliases.size() <= kMaxRegion && entry.name.size() <= kMaxRegion;
}

void append_span(std::string& text, std::size_t start, std::size_t size) {
    const std::uint16_t span[2] = {static_cast<std::uint16_t>(start),
                                   static_cast<std::uint16_t>(size)};
    text.append(reinterpret_cast<const char*>(span), sizeof span);
}

std::uint16_t span_start(std::string_view text, std::size_t at) {
    std::uint16_t start = 0;
    std::memcpy(&start, text.data() + at, sizeof start);
    return start;
}

}  // namespace

MatchIndex::MatchIndex(const Catalog& catalog, const HiddenKeys& hidden_keys)
    : catalog_size_(catalog.size()) {
    std::size_t text_bytes = 0;
    for (const CatalogEntry& entry : catalog) {
        text_bytes += spans_size(entry) + texts_size(entry);
    }
    std::vector<std::uint64_t> byte_masks;
    byte_masks.reserve(catalog.size());
    rows_.reserve(catalog.size());
    text_.reserve(text_bytes);
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const CatalogEntry& entry = catalog[i];
        // The key's hash is already at hand: no key is hashed again here.
        if (!hidden_keys.empty() &&
            hidden_keys.contains(HashedText{entry.key, entry.key_text_hash})) {
            continue;
        }
        byte_masks.push_back(entry.byte_mask);
        add_row(entry, static_cast<std::uint32_t>(i));
    }
    add_planes(byte_masks);
}

void MatchIndex::add_planes(const std::vector<std::uint64_t>& byte_masks) {
    const std::size_t words = blocks();
    planes_.assign(64 * words, 0);
    for (std::size_t row = 0; row < byte_masks.size(); ++row) {
        const std::uint64_t row_bit = std::uint64_t{1} << (row % kBlock);
        for (std::uint64_t mask = byte_masks[row]; mask != 0; mask &= mask - 1) {
            planes_[static_cast<std::size_t>(std::countr_zero(mask)) * words + row / kBlock] |=
                row_bit;
        }
    }
}

void MatchIndex::add_row(const CatalogEntry& entry, std::uint32_t position) {
    Row row;
    row.entry = position;
    row.key_hash = static_cast<std::uint32_t>(std::uint64_t{entry.key_text_hash} >> 32);
    row.word_start_mask = entry.word_start_mask;
    const std::size_t row_start = text_.size();
    if (fits_short_row(entry) && append_texts(entry, row)) {
        row.display_size = static_cast<std::uint16_t>(entry.name.size());
        row.first_byte = entry.match_name.empty() ? '\0' : entry.match_name.front();
        row.name_size = static_cast<std::uint16_t>(entry.match_name.size());
        row.initials_size = static_cast<std::uint16_t>(entry.initials.size());
        row.word_count = static_cast<std::uint16_t>(entry.words.size());
        row.alias_count = static_cast<std::uint16_t>(entry.aliases.size());
        if (entry.file_stem) {
            row.stem_size = static_cast<std::uint8_t>(std::min<std::size_t>(
                std::max<std::size_t>(entry.file_stem->size(), 1), kLongStem));
        }
    } else {
        text_.resize(row_start);
        row.name_size = kLongRow;
    }
    rows_.push_back(row);
}

// Each word is a piece of the folded name (fold works character by
// character), so its span points into the name. Only a word's bytes matter,
// so any occurrence will do; a word not found there is stored after the
// initials, so the spans stay right whatever a name holds.
bool MatchIndex::append_texts(const CatalogEntry& entry, Row& row) {
    const std::string_view name = entry.match_name;
    const std::size_t spans_start = text_.size();
    const std::size_t after_initials = name.size() + entry.initials.size();
    std::size_t region = after_initials;
    std::size_t from = 0;
    for (const std::string& word : entry.words) {
        std::size_t at = name.find(word, from);
        if (at == std::string_view::npos) {
            at = name.find(word);
        }
        if (at == std::string_view::npos) {
            at = region;
            region += word.size();
        } else {
            from = at + word.size();
        }
        append_span(text_, at, word.size());
    }
    for (const std::string& alias : entry.aliases) {
        append_span(text_, region, alias.size());
        region += alias.size();
    }
    if (entry.file_stem) {
        append_span(text_, region, entry.file_stem->size());
        region += entry.file_stem->size();
    }
    if (region > kMaxRegion || text_.size() > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    row.text = static_cast<std::uint32_t>(text_.size());
    text_ += name;
    text_ += entry.initials;
    for (std::size_t i = 0; i < entry.words.size(); ++i) {
        if (span_start(text_, spans_start + i * kSpanBytes) >= after_initials) {
            text_ += entry.words[i];
        }
    }
    for (const std::string& alias : entry.aliases) {
        text_ += alias;
    }
    if (entry.file_stem) {
        text_ += *entry.file_stem;
    }
    return true;
}

std::size_t MatchIndex::memory_bytes() const {
    return planes_.capacity() * sizeof(std::uint64_t) + rows_.capacity() * sizeof(Row) +
           text_.capacity();
}

}  // namespace talvo
