#include "core/diagnostic_log.h"

#include <cstdio>

namespace talvo {

std::string log_path(const Environment& environment) {
    return join_path(data_folder(environment), "talvo.log");
}

std::string format_log_line(const LocalTime& time, std::uint32_t process_id,
                            std::string_view message) {
    // Wide enough for any int fields, so snprintf never cuts the stamp.
    char stamp[128];
    const int length = std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d [%lu] ",
                                     time.year, time.month, time.day, time.hour, time.minute,
                                     time.second, static_cast<unsigned long>(process_id));
    std::string line(stamp, length > 0 ? static_cast<std::size_t>(length) : 0);
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
