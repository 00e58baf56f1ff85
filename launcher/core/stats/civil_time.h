// Instants as civil dates and times at a fixed offset from UTC, independent of
// any time-zone rules (the day arithmetic is in civil_date.h).
#pragma once

#include <cstdint>

#include "core/shell/platform.h"

namespace talvo {

// Date, time and weekday (0 = Sunday) of an instant shifted by a fixed offset.
LocalTime civil_from_unix(std::int64_t unix_seconds, std::int64_t utc_offset_seconds = 0);

// Seconds since 1970 of a civil date and time read as UTC.
std::int64_t unix_from_civil(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0);

}  // namespace talvo
