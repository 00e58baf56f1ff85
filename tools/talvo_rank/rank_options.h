// Command line of talvo-rank.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvo::rank {

struct Options {
    std::optional<std::string> items_file;    // scanned items, TSV
    std::optional<std::string> history_file;  // history.tsv
    std::optional<std::string> hidden_file;   // hidden.txt
    std::optional<std::int64_t> now;          // Unix seconds; the system clock otherwise
    std::optional<std::string> zone;          // TZ value, "UTC" or "+HH:MM"
    std::vector<std::string> queries;         // "" asks for the suggestions
    bool help = false;
};

// The options, or an error message in `error`.
std::optional<Options> parse_options(const std::vector<std::string>& arguments, std::string& error);

// "UTC", "Z", "+02:00", "-0530", "+2": the offset in seconds; nothing for other texts.
std::optional<std::int64_t> parse_utc_offset(std::string_view zone);

extern const char kUsage[];

}  // namespace talvo::rank
