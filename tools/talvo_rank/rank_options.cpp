#include "rank_options.h"

#include <charconv>

namespace talvo::rank {
namespace {

std::optional<std::int64_t> parse_integer(std::string_view text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> two_digits(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
        return std::nullopt;
    }
    return (text[0] - '0') * 10 + (text[1] - '0');
}

}  // namespace

const char kUsage[] =
    "usage : talvo-rank [--items FICHIER] [--history FICHIER] [--hidden FICHIER]\n"
    "                   [--now SECONDES] [--tz FUSEAU] [--] REQUÊTE...\n"
    "\n"
    "Classe le catalogue (entrées intégrées, puis les éléments de --items) pour chaque\n"
    "requête, avec l'apprentissage de --history et les entrées masquées de --hidden,\n"
    "et affiche les six lignes : rang, score, clé, nom, séparés par des tabulations.\n"
    "Une requête vide (\"\") affiche les suggestions et leur score a priori.\n"
    "\n"
    "  --items    éléments du dossier Applications : nom, nom d'analyse, cible (TSV)\n"
    "  --history  fichier history.tsv\n"
    "  --hidden   fichier hidden.txt\n"
    "  --now      horloge, en secondes Unix (par défaut : maintenant)\n"
    "  --tz       fuseau horaire : UTC, ±HH:MM, ou un nom comme Europe/Paris (hors Windows)\n";

std::optional<std::int64_t> parse_utc_offset(std::string_view zone) {
    if (zone == "UTC" || zone == "Z") {
        return 0;
    }
    if (zone.size() < 2 || (zone[0] != '+' && zone[0] != '-')) {
        return std::nullopt;
    }
    const std::int64_t sign = zone[0] == '-' ? -1 : 1;
    std::string_view rest = zone.substr(1);
    std::optional<int> hours;
    std::optional<int> minutes = 0;
    if (rest.size() <= 2) {
        const auto value = parse_integer(rest);
        hours = value && *value <= 23 ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    } else if (rest.size() == 5 && rest[2] == ':') {
        hours = two_digits(rest.substr(0, 2));
        minutes = two_digits(rest.substr(3));
    } else if (rest.size() == 4) {
        hours = two_digits(rest.substr(0, 2));
        minutes = two_digits(rest.substr(2));
    }
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    return sign * (*hours * 3600 + *minutes * 60);
}

std::optional<Options> parse_options(const std::vector<std::string>& arguments,
                                     std::string& error) {
    Options options;
    bool only_queries = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (only_queries || argument.empty() || argument[0] != '-' || argument == "-") {
            options.queries.push_back(argument);
            continue;
        }
        if (argument == "--") {
            only_queries = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = "valeur manquante après " + argument;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (argument == "--items") {
            options.items_file = value;
        } else if (argument == "--history") {
            options.history_file = value;
        } else if (argument == "--hidden") {
            options.hidden_file = value;
        } else if (argument == "--tz") {
            options.zone = value;
        } else if (argument == "--now") {
            options.now = parse_integer(value);
            if (!options.now) {
                error = "--now attend des secondes Unix entières : " + value;
                return std::nullopt;
            }
        } else {
            error = "option inconnue : " + argument;
            return std::nullopt;
        }
    }
    if (options.queries.empty() && !options.help) {
        error = "aucune requête (\"\" pour les suggestions)";
        return std::nullopt;
    }
    return options;
}

}  // namespace talvo::rank
