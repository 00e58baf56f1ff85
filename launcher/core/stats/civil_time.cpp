#include "core/stats/civil_time.h"

#include "core/stats/civil_date.h"

namespace talvo {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

LocalTime civil_from_unix(std::int64_t unix_seconds, std::int64_t utc_offset_seconds) {
    const std::int64_t seconds = unix_seconds + utc_offset_seconds;
    const std::int64_t days = floor_div(seconds, kSecondsPerDay);
    const std::int64_t rest = seconds - days * kSecondsPerDay;
    const CivilDate date = civil_date(days);
    const std::int64_t weekday = days + 4 - floor_div(days + 4, 7) * 7;  // 1970-01-01: Thursday
    return LocalTime{date.year,
                     date.month,
                     date.day,
                     static_cast<int>(rest / 3600),
                     static_cast<int>(rest / 60 % 60),
                     static_cast<int>(rest % 60),
                     static_cast<int>(weekday)};
}

std::int64_t unix_from_civil(int year, int month, int day, int hour, int minute, int second) {
    return day_number(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

}  // namespace talvo
