// The history file, %APPDATA%\Talvo\history.tsv: one launch per line,
// "time TAB hour TAB weekend TAB key TAB query LF". It is the only store of
// what the launcher learns; the tables are rebuilt from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/launch/launch.h"
#include "core/matching/learning_memory.h"
#include "core/shell/platform.h"

namespace talvo {

// At most this many records stay in memory; past it the newest kHistoryKeep remain.
inline constexpr std::size_t kHistoryLimit = 6000;
inline constexpr std::size_t kHistoryKeep = 5000;

std::string history_path(const Environment& environment);

// Records of a history text, in order. Malformed lines are skipped, and so is
// a line that is not valid UTF-8, so one bad byte never costs the other lines.
std::vector<LaunchRecord> parse_history(std::string_view text);

// The record of one line (without its line feed; a final CR is dropped), or
// nothing for a malformed line or one that is not valid UTF-8.
std::optional<LaunchRecord> parse_record_line(std::string_view line);

// One record as a line of the file, ending in a line feed.
std::string format_record(const LaunchRecord& record);

// Start-up: creates the data folder, reads and parses the file, trims a file
// of more than kHistoryKeep records (rewriting it), then rebuilds the tables.
void load_history(LearningMemory& memory, const Platform& platform);

// Replaces the file with the records, atomically (temporary file and move).
void rewrite_history(const LearningMemory& memory, const Platform& platform);

// Records the choice of `results[index]` after `edit_line` was typed: appends
// the line to the file (after a line feed if the file ends in a cut line),
// logs it, trims past kHistoryLimit, rebuilds. Nothing when `index` is out of
// range.
std::optional<LaunchRequest> choose(LearningMemory& memory,
                                    const std::vector<CatalogEntry>& results, std::size_t index,
                                    LaunchMode mode, std::string_view edit_line,
                                    const Platform& platform);

}  // namespace talvo
