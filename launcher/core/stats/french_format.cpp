#include "core/stats/french_format.h"

#include <array>
#include <cmath>

namespace talvo {
namespace {

constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "janv.", "févr.", "mars",  "avr.", "mai",  "juin",
    "juil.", "août",  "sept.", "oct.", "nov.", "déc."};

constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"};

constexpr std::array<std::string_view, 7> kWeekdayShortNames = {"lun", "mar", "mer", "jeu",
                                                                "ven", "sam", "dim"};

}  // namespace

std::string format_count(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3 * kNarrowNoBreakSpace.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out.append(kNarrowNoBreakSpace);
        }
        out.push_back(digits[i]);
    }
    return out;
}

std::string format_decimal(double value) {
    // Counted in whole tenths so the result does not depend on the C library's
    // rounding of printf; values beyond any count of launches are clamped.
    constexpr double kLimit = 1e15;
    if (!std::isfinite(value)) {
        value = 0;
    }
    const double tenths = std::round(std::fmin(std::fabs(value), kLimit) * 10.0);
    const auto whole = static_cast<std::uint64_t>(tenths);
    std::string out = (value < 0 && whole != 0) ? "-" : "";
    out += std::to_string(whole / 10);
    out.push_back(',');
    out.push_back(static_cast<char>('0' + whole % 10));
    return out;
}

std::string_view month_abbreviation(int month) {
    if (month < 1 || month > 12) {
        return {};
    }
    return kMonthAbbreviations[static_cast<std::size_t>(month - 1)];
}

std::string_view weekday_name(std::size_t index) {
    return index < kWeekdayNames.size() ? kWeekdayNames[index] : std::string_view();
}

std::string_view weekday_short_name(std::size_t index) {
    return index < kWeekdayShortNames.size() ? kWeekdayShortNames[index] : std::string_view();
}

std::string_view count_word(std::uint64_t count) {
    return count < 2 ? "lancement" : "lancements";
}

std::string clock_time_text(int hour, int minute) {
    std::string out = std::to_string(hour);
    out += " h ";
    if (minute >= 0 && minute < 10) {
        out.push_back('0');
    }
    out += std::to_string(minute);
    return out;
}

std::string day_month_text(int day, int month) {
    std::string out = std::to_string(day);
    out.push_back(' ');
    out.append(month_abbreviation(month));
    return out;
}

std::string date_text(const LocalTime& date) {
    std::string out = day_month_text(date.day, date.month);
    out.push_back(' ');
    out += std::to_string(date.year);
    return out;
}

}  // namespace talvo
