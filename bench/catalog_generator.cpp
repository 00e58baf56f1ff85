#include "catalog_generator.h"

#include <array>
#include <random>
#include <string>

#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo::bench {
namespace {

constexpr std::array kVendors = {"Microsoft",        "Adobe",  "Mozilla", "JetBrains", "Quenlor",
                                 "Éditions Lumière", "Oracle", "Valve",   "Kodi",      "Nvidia"};
constexpr std::array kWords = {
    "Visual",      "Studio",     "Code",         "Lecteur",    "Média",      "Éditeur",
    "Vidéos",      "Paramètres", "Calculatrice", "Bloc-notes", "Terminal",   "Gestionnaire",
    "Fichiers",    "Photos",     "Musique",      "Navigateur", "Réseau",     "Sécurité",
    "Données",     "Outil",      "Capture",      "Écran",      "Player",     "Manager",
    "Office",      "Word",       "Excel",        "Console",    "Client",     "Serveur",
    "Développeur", "Aperçu",     "Impression",   "Scanner",    "Messagerie", "Agenda",
    "Cartes",      "Météo",      "Horloge"};
constexpr std::array kCamel = {"OneDrive",   "PowerShell",    "VirtualBox",      "FileZilla",
                               "KeePassXC",  "GitHubDesktop", "WinMerge",        "Win10Pro",
                               "7Zip",       "HTMLEditor",    "NotepadPlusPlus", "OBSStudio",
                               "TeamViewer", "ShareX"};
constexpr std::array kSuffixes = {"",          " (x64)", " 2024", " - Insiders",
                                  " Portable", " Beta",  " 3D",   " Community Edition"};

template <typename Array>
const char* pick(const Array& items, std::mt19937& random) {
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

// A program's subtitle is its target path, whose file name the scan keeps as a stem.
CatalogEntry scanned(std::string id, std::string name, std::string subtitle) {
    CatalogEntry entry = make_entry("app:" + id, std::move(name), std::move(subtitle),
                                    LaunchTarget::open_path("shell:AppsFolder\\" + id));
    entry.icon_source = entry.target.path;
    const std::string target = entry.subtitle;
    return with_file_stem(std::move(entry), target);
}

CatalogEntry generated_entry(std::size_t n, std::mt19937& random) {
    const std::string number = std::to_string(n);
    switch (n % 5) {
        case 0: {  // multi-word desktop program
            std::string name = std::string(pick(kVendors, random)) + " " + pick(kWords, random) +
                               " " + pick(kWords, random) + pick(kSuffixes, random);
            std::string path = "C:\\Program Files\\Vendor" + number + "\\app" + number + ".exe";
            return scanned("{6D809377-6AF0-444B-8957-A3773F02200E}\\Vendor" + number + "\\app" +
                               number + ".exe",
                           std::move(name), std::move(path));
        }
        case 1: {  // CamelCase product name
            std::string name = std::string(pick(kCamel, random)) + pick(kSuffixes, random);
            return scanned("C:\\Tools\\" + number + "\\tool.exe", std::move(name),
                           "C:\\Tools\\" + number + "\\tool.exe");
        }
        case 2: {  // accented French name
            std::string name = std::string(pick(kWords, random)) + " de " + pick(kWords, random);
            return scanned("Quenlor.App" + number + "_8wekyb3d8bbwe!App", std::move(name),
                           "Application Microsoft Store");
        }
        case 3: {  // Store-style identity as the name
            std::string name =
                "Microsoft." + std::string(pick(kCamel, random)) + "_" + number + "abc!App";
            return scanned(name, name, "Application Microsoft Store");
        }
        default: {  // path-like name
            std::string name = "C:\\Outils\\" + std::string(pick(kWords, random)) + number + ".exe";
            return scanned(name, name, name);
        }
    }
}

}  // namespace

Catalog generate_catalog(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    Catalog catalog;
    catalog.reserve(size);
    for (std::size_t n = 0; n < size; ++n) {
        catalog.push_back(generated_entry(n, random));
    }
    return catalog;
}

std::vector<LaunchRecord> generate_records(const Catalog& catalog, std::size_t count,
                                           std::int64_t now, std::uint32_t seed) {
    std::mt19937 random(seed);
    // A few favourites take most launches, as in real use.
    std::geometric_distribution<std::size_t> popularity(0.02);
    std::uniform_int_distribution<std::int64_t> age(0, 90 * 86400);
    std::uniform_int_distribution<std::size_t> typed(0, 4);
    std::vector<LaunchRecord> records;
    records.reserve(count);
    for (std::size_t n = 0; n < count; ++n) {
        const CatalogEntry& entry = catalog[popularity(random) % catalog.size()];
        LaunchRecord record;
        record.key = entry.key;
        std::string query;
        std::size_t pos = 0;
        for (std::size_t c = typed(random); c > 0 && pos < entry.match_name.size(); --c) {
            decode_utf8(entry.match_name, pos);
        }
        record.query = entry.match_name.substr(0, pos);
        record.time = static_cast<std::uint64_t>(now - age(random));
        record.hour = static_cast<std::uint32_t>((record.time / 3600) % 24);
        record.weekend = ((record.time / 86400) + 4) % 7 >= 5 ? 1 : 0;
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace talvo::bench
