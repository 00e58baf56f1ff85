// How numbers, dates, clock times and counts are written in French in the
// statistics: digit groups, one-decimal averages, month and weekday names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/shell/platform.h"

namespace talvo {

// Narrow no-break space (U+202F), the French digit-group separator.
inline constexpr std::string_view kNarrowNoBreakSpace = "\u202F";

// Decimal digits grouped by three from the right: 1234567 gives "1 234 567".
std::string format_count(std::uint64_t value);

// Exactly one decimal with a comma: 2.46 gives "2,5", 4 gives "4,0". A value
// halfway between two tenths rounds away from zero.
std::string format_decimal(double value);

// "janv." … "déc." for months 1 to 12; empty outside that range.
std::string_view month_abbreviation(int month);

// Index 0 = Monday … 6 = Sunday; empty outside that range.
std::string_view weekday_name(std::size_t index);
std::string_view weekday_short_name(std::size_t index);

// "lancement" for 0 and 1, "lancements" from 2 on.
std::string_view count_word(std::uint64_t count);

// "9 h 05": the hour without leading zero, the minutes on two digits.
std::string clock_time_text(int hour, int minute);

// "3 janv."
std::string day_month_text(int day, int month);

// "3 janv. 2025"
std::string date_text(const LocalTime& date);

}  // namespace talvo
