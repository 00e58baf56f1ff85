#include "core/matching/history_file.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/matching/results.h"
#include "core/shell/diagnostic_log.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

constexpr std::size_t kFieldCount = 5;

// An unsigned 64-bit decimal: an optional "+", then digits only; overflow fails.
std::optional<std::uint64_t> parse_unsigned(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

// The first five TAB-separated fields of a line; false when there are fewer.
// The fifth ends at the next TAB, so later fields are ignored.
bool split_fields(std::string_view line, std::array<std::string_view, kFieldCount>& fields) {
    for (std::size_t n = 0; n < kFieldCount; ++n) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            if (n + 1 < kFieldCount) {
                return false;
            }
            fields[n] = line;
            return true;
        }
        fields[n] = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    return true;
}

// A stored query never holds a CR: one would be dropped as a line end when
// the record is written and read back, so it is read as a space, the same
// character a CR in the edit line becomes.
std::string stored_query(std::string_view field) {
    std::string query(field);
    for (char& c : query) {
        if (c == '\r') {
            c = ' ';
        }
    }
    return query;
}

}  // namespace

std::optional<LaunchRecord> parse_record_line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (!is_valid_utf8(line)) {
        return std::nullopt;
    }
    std::array<std::string_view, kFieldCount> fields;
    if (!split_fields(line, fields)) {
        return std::nullopt;
    }
    const auto time = parse_unsigned(fields[0]);
    const auto hour = parse_unsigned(fields[1]);
    const auto weekend = parse_unsigned(fields[2]);
    if (!time || !hour || !weekend) {
        return std::nullopt;
    }
    return LaunchRecord{std::string(fields[3]), stored_query(fields[4]), *time,
                        static_cast<std::uint32_t>(*hour % 24), *weekend != 0 ? 1u : 0u};
}

namespace {

// The edit line as recorded: prepared like a live query, with TAB, LF and CR
// (which would break the line format) turned into spaces.
std::string recorded_query(std::string_view edit_line) {
    std::string query = prepare_query(edit_line);
    for (char& c : query) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return query;
}

LaunchRecord record_now(std::string key, std::string query, const Clock& clock) {
    const LocalTime local = clock.local_now();
    const std::int64_t now = clock.unix_now();
    LaunchRecord record;
    record.key = std::move(key);
    record.query = std::move(query);
    record.time = now > 0 ? static_cast<std::uint64_t>(now) : 0;
    const ClockSlot slot = clock_slot(local);
    record.hour = slot.hour;
    record.weekend = slot.weekend;
    return record;
}

// Appends one line; a line cut short at the end of the file (a crash during
// an earlier append) is ended first so the new record stays a line of its own.
WriteResult append_record(FileSystem& files, const std::string& path, const LaunchRecord& record) {
    std::string bytes;
    const std::optional<char> last = files.last_byte(path);
    if (last && *last != '\n') {
        bytes.push_back('\n');
    }
    bytes += format_record(record);
    return files.write(path, bytes, WriteMode::Append);
}

// Keeps the newest kHistoryKeep records; true when some were dropped.
bool trim_records(std::vector<LaunchRecord>& records) {
    if (records.size() <= kHistoryKeep) {
        return false;
    }
    records.erase(records.begin(),
                  records.begin() + static_cast<std::ptrdiff_t>(records.size() - kHistoryKeep));
    return true;
}

}  // namespace

std::string history_path(const Environment& environment) {
    return join_path(data_folder(environment), "history.tsv");
}

std::vector<LaunchRecord> parse_history(std::string_view text) {
    std::vector<LaunchRecord> records;
    // Room for a normal file at once; a hostile one with millions of empty
    // lines must not reserve for each.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    records.reserve(std::min(lines + 1, kHistoryLimit));
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (auto record = parse_record_line(line)) {
            records.push_back(std::move(*record));
        }
    }
    return records;
}

std::string format_record(const LaunchRecord& record) {
    std::string line = std::to_string(record.time);
    line += '\t';
    line += std::to_string(record.hour % 24);
    line += record.weekend != 0 ? "\t1\t" : "\t0\t";
    line += record.key;
    line += '\t';
    line += record.query;
    line += '\n';
    return line;
}

void load_history(LearningMemory& memory, const Platform& platform) {
    memory.history_path = history_path(platform.environment);
    platform.files.create_directories(data_folder(platform.environment));
    const std::optional<std::string> text = platform.files.read_file(memory.history_path);
    memory.records = text ? parse_history(*text) : std::vector<LaunchRecord>{};
    if (trim_records(memory.records)) {
        rewrite_history(memory, platform);
    }
    rebuild(memory, platform.clock.unix_now());
}

void rewrite_history(const LearningMemory& memory, const Platform& platform) {
    std::string text;
    for (const LaunchRecord& record : memory.records) {
        text += format_record(record);
    }
    // A failure leaves the old, longer file; it is trimmed again at the next start.
    platform.files.replace_atomically(memory.history_path, text);
}

std::optional<LaunchRequest> choose(LearningMemory& memory,
                                    const std::vector<CatalogEntry>& results, std::size_t index,
                                    LaunchMode mode, std::string_view edit_line,
                                    const Platform& platform) {
    if (index >= results.size()) {
        return std::nullopt;
    }
    LaunchRequest request{results[index], mode};
    if (memory.history_path.empty()) {
        memory.history_path = history_path(platform.environment);
    }
    LaunchRecord record = record_now(request.entry.key, recorded_query(edit_line), platform.clock);

    const WriteResult written = append_record(platform.files, memory.history_path, record);
    if (written.ok) {
        write_log(platform, "appris : " + record.key + " ← « " + record.query + " »");
    } else {
        write_log(platform,
                  "ÉCHEC écriture historique " + memory.history_path + " : " + written.error);
    }

    memory.records.push_back(std::move(record));
    if (memory.records.size() > kHistoryLimit && trim_records(memory.records)) {
        rewrite_history(memory, platform);
    }
    rebuild(memory, platform.clock.unix_now());
    return request;
}

}  // namespace talvo
