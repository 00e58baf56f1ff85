// The diagnostic log, %APPDATA%\Talvo\talvo.log: one line per notable event,
// never read back. Writing it never disturbs the launcher.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/shell/platform.h"

namespace talvo {

// Past this size the log is emptied before the next line.
inline constexpr std::uint64_t kLogSizeLimit = 262'144;

std::string log_path(const Environment& environment);

// "2026-03-07 08:05:09 [4120] message" and a line feed; nothing is escaped.
std::string format_log_line(const LocalTime& time, std::uint32_t process_id,
                            std::string_view message);

// Appends one line (emptying a log over the limit first); every failure is swallowed.
void write_log(const Platform& platform, std::string_view message);

}  // namespace talvo
