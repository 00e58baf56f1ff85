// The French texts of the statistics page: fixed titles and labels, and the
// captions that carry a figure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

// Page subtitle when nothing has been launched yet.
inline constexpr std::string_view kNoHistorySubtitle = "Calculées sur ton PC. Rien n'est envoyé.";

// Labels of the four key figures: total, today, daily average, distinct entries.
inline constexpr std::string_view kTotalLabel = "lancements au total";
inline constexpr std::string_view kTodayLabel = "aujourd'hui";
inline constexpr std::string_view kDailyAverageLabel = "par jour en moyenne (30 j)";
inline constexpr std::string_view kDistinctLabel = "apps et dossiers différents";

// Card titles.
inline constexpr std::string_view kTopTitle = "Les plus lancées";
inline constexpr std::string_view kHoursTitle = "Par heure";
inline constexpr std::string_view kWeekdaysTitle = "Par jour de la semaine";
inline constexpr std::string_view kLast30DaysTitle = "30 derniers jours";
inline constexpr std::string_view kRecentTitle = "Derniers lancements";
inline constexpr std::string_view kLearnedTitle = "Ce que Talvo a appris";
inline constexpr std::string_view kLearnedSubtitle = "ce que tu tapes → ce que tu choisis le plus";

// Shown instead of the learned rows when there are none.
inline constexpr std::string_view kNothingLearned =
    "Pas encore assez de répétitions : choisis la même app deux fois avec les mêmes lettres.";

// The whole page when nothing has been launched yet: heading, then text.
inline constexpr std::string_view kEmptyHeading = "Aucun lancement pour l'instant.";
inline constexpr std::string_view kEmptyText =
    "Ouvre quelques apps avec Talvo (Alt+Espace) : tes statistiques apparaîtront ici.";

// "Depuis le 3 janv. 2025 · calculées sur ton PC, rien n'est envoyé"
std::string first_date_caption(std::string_view first_date_text);

// "pic vers 17 h"
std::string peak_hour_caption(std::size_t hour);

// "9 h · 12 lancements", while a bar of the hour chart is hovered.
std::string hovered_hour_caption(std::size_t hour, std::uint64_t count);

// "0 h", "6 h" …: the hour chart's axis labels.
std::string hour_axis_label(std::size_t hour);

// "plus actif le mardi"; `weekday` 0 = Monday.
std::string busiest_weekday_caption(std::size_t weekday);

// "mardi · 1 lancement", while a weekday bar is hovered.
std::string hovered_weekday_caption(std::size_t weekday, std::uint64_t count);

// "2,5 par jour en moyenne"
std::string daily_average_caption(double daily_average);

// "3 janv. · 4 lancements", while a bar of the 30-day chart is hovered.
std::string hovered_day_caption(std::string_view day_label, std::uint64_t count);

// One learned row: "« vl »", "→  VLC media player", "· 3 fois".
std::string learned_query_caption(std::string_view query);
std::string learned_name_caption(std::string_view name);
std::string learned_count_caption(std::uint64_t count);

}  // namespace talvo
