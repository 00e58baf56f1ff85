#include "data_files.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace talvo::e2e {
namespace {

bool digits_at(std::string_view text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

// "YYYY-MM-DD HH:MM:SS"
bool is_stamp(std::string_view text) {
    return text.size() == 19 && digits_at(text, 0, 4) && text[4] == '-' && digits_at(text, 5, 2) &&
           text[7] == '-' && digits_at(text, 8, 2) && text[10] == ' ' && digits_at(text, 11, 2) &&
           text[13] == ':' && digits_at(text, 14, 2) && text[16] == ':' && digits_at(text, 17, 2);
}

LogLine parse_log_line(const std::string& line) {
    LogLine parsed;
    parsed.message = line;
    const std::size_t open = line.find(" [");
    const std::size_t close = line.find("] ", open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) {
        return parsed;
    }
    const std::string pid = line.substr(open + 2, close - open - 2);
    if (pid.empty() || !digits_at(pid, 0, pid.size())) {
        return parsed;
    }
    parsed.stamp = line.substr(0, open);
    parsed.process_id = std::stoul(pid);
    parsed.message = line.substr(close + 2);
    parsed.well_formed = is_stamp(parsed.stamp);
    return parsed;
}

}  // namespace

void write_file(const std::wstring& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string launch_line(std::string_view key, std::string_view query) {
    const long long when = static_cast<long long>(time(nullptr)) - 3600;
    return std::to_string(when) + "\t10\t0\t" + std::string(key) + "\t" + std::string(query) + "\n";
}

std::string read_file(const std::wstring& path) {
    // Shared reading: the launcher may hold the file open while it appends.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char buffer[8192];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> text_lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> tab_fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find('\t', start);
        fields.emplace_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

std::vector<HistoryLine> history_lines(const std::wstring& path) {
    std::vector<HistoryLine> lines;
    for (const std::string& line : text_lines(read_file(path))) {
        lines.push_back(HistoryLine{tab_fields(line)});
    }
    return lines;
}

std::vector<LogLine> log_lines(const std::wstring& path) {
    std::vector<LogLine> lines;
    for (const std::string& line : text_lines(read_file(path))) {
        lines.push_back(parse_log_line(line));
    }
    return lines;
}

bool log_has(const std::wstring& path, std::string_view message) {
    for (const LogLine& line : log_lines(path)) {
        if (line.message == message) {
            return true;
        }
    }
    return false;
}

}  // namespace talvo::e2e
