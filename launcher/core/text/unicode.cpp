#include "core/text/unicode.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "core/text/unicode_tables.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

namespace tables = unicode_tables;

std::uint8_t properties(char32_t c) {
    const std::uint32_t probe = (static_cast<std::uint32_t>(c) << 8) | 0xFF;
    const auto* run =
        std::upper_bound(std::begin(tables::kPropertyRuns), std::end(tables::kPropertyRuns), probe);
    return run == std::begin(tables::kPropertyRuns) ? 0 : static_cast<std::uint8_t>(*(run - 1));
}

bool has(char32_t c, tables::PropertyBit bit) {
    return c <= 0x10FFFF && (properties(c) & bit);
}

// The run that maps `c`, or null. Runs never overlap, so only the last one
// that starts at or below `c` can hold it.
template <std::size_t N>
const tables::MappingRun* find_run(const tables::MappingRun (&runs)[N], char32_t c) {
    const auto* next = std::upper_bound(std::begin(runs), std::end(runs), c,
                                        [](char32_t v, const auto& run) { return v < run.from; });
    if (next == std::begin(runs)) {
        return nullptr;
    }
    const tables::MappingRun& run = *(next - 1);
    const char32_t offset = c - run.from;
    if (offset % run.stride != 0 || offset / run.stride >= run.count) {
        return nullptr;
    }
    return &run;
}

template <std::size_t NR, std::size_t NL>
void append_mapped(std::u32string& out, char32_t c, const tables::MappingRun (&runs)[NR],
                   const tables::LongMapping (&longer)[NL]) {
    if (const tables::MappingRun* run = find_run(runs, c)) {
        // Unsigned wrap-around adds a negative delta too.
        out.push_back(c + static_cast<char32_t>(run->delta));
        return;
    }
    const auto* many = std::lower_bound(std::begin(longer), std::end(longer), c,
                                        [](const auto& m, char32_t v) { return m.from < v; });
    if (many != std::end(longer) && many->from == c) {
        for (const char32_t part : many->to) {
            if (part != 0) {
                out.push_back(part);
            }
        }
        return;
    }
    out.push_back(c);
}

template <typename Mapper>
std::string map_text(std::string_view text, Mapper append_mapping) {
    std::string out;
    out.reserve(text.size());
    std::u32string mapped;
    std::size_t pos = 0;
    while (pos < text.size()) {
        mapped.clear();
        append_mapping(mapped, decode_utf8(text, pos));
        for (const char32_t c : mapped) {
            append_utf8(out, c);
        }
    }
    return out;
}

}  // namespace

bool is_alphabetic(char32_t c) {
    return has(c, tables::kAlphabetic);
}
bool is_numeric(char32_t c) {
    return has(c, tables::kNumeric);
}
bool is_uppercase(char32_t c) {
    return has(c, tables::kUppercase);
}
bool is_lowercase(char32_t c) {
    return has(c, tables::kLowercase);
}
bool is_white_space(char32_t c) {
    // Below U+0085 the set is TAB to CR and the space: typed text mostly ends here.
    if (c < 0x85) {
        return (c >= 0x09 && c <= 0x0D) || c == 0x20;
    }
    return has(c, tables::kWhiteSpace);
}

void append_lower(std::u32string& out, char32_t c) {
    append_mapped(out, c, tables::kLowerRuns, tables::kLowerLong);
}

void append_upper(std::u32string& out, char32_t c) {
    append_mapped(out, c, tables::kUpperRuns, tables::kUpperLong);
}

std::string to_lower(std::string_view text) {
    return map_text(text, append_lower);
}
std::string to_upper(std::string_view text) {
    return map_text(text, append_upper);
}

}  // namespace talvo
