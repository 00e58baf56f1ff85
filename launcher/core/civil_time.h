// Calendar arithmetic on the proleptic Gregorian calendar, independent of any
// time zone: day numbers for date differences and fixed-offset local times.
#pragma once

#include <cstdint>

#include "core/platform.h"

namespace talvo {

// Days since 1970-01-01 of a civil date.
std::int64_t days_from_civil(std::int64_t year, int month, int day);

// Date, time and weekday (0 = Sunday) of an instant shifted by a fixed offset.
LocalTime civil_from_unix(std::int64_t unix_seconds, std::int64_t utc_offset_seconds = 0);

// Seconds since 1970 of a civil date and time read as UTC.
std::int64_t unix_from_civil(std::int64_t year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0);

}  // namespace talvo
