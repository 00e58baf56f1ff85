#include "core/stats/stats_captions.h"

#include "core/stats/french_format.h"

namespace talvo {
namespace {

// "{count} {count word}", as every hovered bar shows it: a plain decimal,
// without the thousands separator of the key figures.
std::string count_with_word(std::uint64_t count) {
    std::string out = std::to_string(count);
    out.push_back(' ');
    out.append(count_word(count));
    return out;
}

std::string join(std::string_view a, std::string_view b) {
    std::string out(a);
    out.append(b);
    return out;
}

}  // namespace

std::string first_date_caption(std::string_view first_date_text) {
    return join(join("Depuis le ", first_date_text), " · calculées sur ton PC, rien n'est envoyé");
}

std::string peak_hour_caption(std::size_t hour) {
    return join("pic vers ", hour_axis_label(hour));
}

std::string hovered_hour_caption(std::size_t hour, std::uint64_t count) {
    return join(join(hour_axis_label(hour), " · "), count_with_word(count));
}

std::string hour_axis_label(std::size_t hour) {
    return join(std::to_string(hour), " h");
}

std::string busiest_weekday_caption(std::size_t weekday) {
    return join("plus actif le ", weekday_name(weekday));
}

std::string hovered_weekday_caption(std::size_t weekday, std::uint64_t count) {
    return join(join(weekday_name(weekday), " · "), count_with_word(count));
}

std::string daily_average_caption(double daily_average) {
    return join(format_decimal(daily_average), " par jour en moyenne");
}

std::string hovered_day_caption(std::string_view day_label, std::uint64_t count) {
    return join(join(day_label, " · "), count_with_word(count));
}

std::string learned_query_caption(std::string_view query) {
    return join(join("« ", query), " »");
}

std::string learned_name_caption(std::string_view name) {
    return join("→  ", name);
}

std::string learned_count_caption(std::uint64_t count) {
    return join(join("· ", std::to_string(count)), " fois");
}

}  // namespace talvo
