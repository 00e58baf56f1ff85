// Calendar arithmetic on local dates: a day number per civil date, so that the
// distance between two dates is exact across month and year ends and across
// daylight-saving changes (a local day may last 23 or 25 hours).
#pragma once

#include <cstdint>

namespace talvo {

struct CivilDate {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31

    bool operator==(const CivilDate&) const = default;
};

// Days since 1970-01-01 in the proleptic Gregorian calendar.
constexpr std::int64_t day_number(int year, int month, int day) {
    const std::int64_t y = month <= 2 ? std::int64_t{year} - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t year_of_era = y - era * 400;
    const std::int64_t shifted_month = month > 2 ? month - 3 : month + 9;  // March = 0
    const std::int64_t day_of_year = (153 * shifted_month + 2) / 5 + day - 1;
    const std::int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

// The civil date of a day number (inverse of day_number).
constexpr CivilDate civil_date(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t day_of_era = z - era * 146097;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
    const std::int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

}  // namespace talvo
