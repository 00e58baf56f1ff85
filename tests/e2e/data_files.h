// The launcher's files as a user (or a support person) would read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvo::e2e {

// The whole file as bytes; empty when it is missing.
std::string read_file(const std::wstring& path);
bool file_exists(const std::wstring& path);
// Writes the bytes as the whole file, creating its folder first.
void write_file(const std::wstring& path, std::string_view bytes);
// A history.tsv line of a launch an hour ago.
std::string launch_line(std::string_view key, std::string_view query);

// Lines ended by LF; the empty rest after the last LF is not a line.
std::vector<std::string> text_lines(std::string_view text);
std::vector<std::string> tab_fields(std::string_view line);

// One line of history.tsv: time, hour, weekend, key, query.
struct HistoryLine {
    std::vector<std::string> fields;
    std::string key() const { return fields.size() > 3 ? fields[3] : std::string(); }
    std::string query() const { return fields.size() > 4 ? fields[4] : std::string(); }
};
std::vector<HistoryLine> history_lines(const std::wstring& path);

// One line of talvo.log: "YYYY-MM-DD HH:MM:SS [pid] message".
struct LogLine {
    std::string stamp;  // date and time
    unsigned long process_id = 0;
    std::string message;
    bool well_formed = false;
};
std::vector<LogLine> log_lines(const std::wstring& path);
// Whether some line of the log carries exactly this message.
bool log_has(const std::wstring& path, std::string_view message);

}  // namespace talvo::e2e
