#include "core/shell/diagnostic_log.h"

namespace talvo {
namespace {

// Appends `value` in decimal, zero-padded on the left to `width` digits.
void append_padded(std::string& out, long long value, std::size_t width) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) {
        out.push_back('-');
    }
    if (digits.size() < width) {
        out.append(width - digits.size(), '0');
    }
    out += digits;
}

}  // namespace

std::string log_path(const Environment& environment) {
    return join_path(data_folder(environment), "talvo.log");
}

std::string format_log_line(const LocalTime& time, std::uint32_t process_id,
                            std::string_view message) {
    std::string line;
    line.reserve(32 + message.size());
    append_padded(line, time.year, 4);
    line += '-';
    append_padded(line, time.month, 2);
    line += '-';
    append_padded(line, time.day, 2);
    line += ' ';
    append_padded(line, time.hour, 2);
    line += ':';
    append_padded(line, time.minute, 2);
    line += ':';
    append_padded(line, time.second, 2);
    line += " [";
    line += std::to_string(process_id);
    line += "] ";
    line.append(message);
    line.push_back('\n');
    return line;
}

void write_log(const Platform& platform, std::string_view message) {
    const std::string path = log_path(platform.environment);
    // A failure here only means the write below fails and the line is lost.
    platform.files.create_directories(data_folder(platform.environment));
    const std::optional<std::uint64_t> size = platform.files.file_size(path);
    const WriteMode mode = size && *size > kLogSizeLimit ? WriteMode::Truncate : WriteMode::Append;
    const std::string line =
        format_log_line(platform.clock.local_now(), platform.environment.process_id(), message);
    platform.files.write(path, line, mode);
}

}  // namespace talvo
