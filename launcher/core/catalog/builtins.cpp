#include "core/catalog/builtins.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace talvo {
namespace {

struct FolderRow {
    std::string_view key_word;
    std::string_view name;
    KnownFolder folder;
    std::initializer_list<std::string_view> aliases;
};

// Key words stay English (history and hidden.txt store them); names are French.
// Documents has no one-letter alias: "d" belongs to the downloads folder.
const std::array<FolderRow, 7> kFolders{{
    {"images", "Images", KnownFolder::Pictures, {"i", "pictures", "photos"}},
    {"downloads", "Téléchargements", KnownFolder::Downloads, {"d", "downloads"}},
    {"documents", "Documents", KnownFolder::Documents, {"documents", "docs"}},
    {"desktop", "Bureau", KnownFolder::Desktop, {"b", "desktop"}},
    {"music", "Musique", KnownFolder::Music, {"m", "music"}},
    {"videos", "Vidéos", KnownFolder::Videos, {"v", "videos", "movies"}},
    {"home", "Dossier personnel", KnownFolder::Profile, {"h", "~", "home", "maison"}},
}};

CatalogEntry aliased(CatalogEntry entry, std::initializer_list<std::string_view> aliases) {
    return with_aliases(std::move(entry), std::vector<std::string_view>(aliases));
}

CatalogEntry explorer_entry() {
    CatalogEntry entry = make_entry("dir:explorer", "Explorateur de fichiers",
                                    "Explorateur Windows", LaunchTarget::open_path("explorer.exe"));
    entry.icon_source = "shell:AppsFolder\\Microsoft.Windows.Explorer";
    return aliased(std::move(entry), {"f", "file explorer", "explorer", "explorateur"});
}

// The folder's path is its subtitle, what opening it hands to the shell, the
// file Ctrl+Enter shows in its parent, and its icon.
CatalogEntry folder_entry(const FolderRow& row, const std::string& path) {
    CatalogEntry entry = make_entry(std::string(kDirKeyPrefix) + std::string(row.key_word),
                                    std::string(row.name), path, LaunchTarget::open_path(path));
    entry.exe_path = path;
    entry.icon_source = path;
    return aliased(std::move(entry), row.aliases);
}

CatalogEntry command_entry(std::string key, std::string name, std::string subtitle,
                           BuiltinCommand command, const std::optional<std::string>& icon,
                           std::initializer_list<std::string_view> aliases) {
    CatalogEntry entry = make_entry(std::move(key), std::move(name), std::move(subtitle),
                                    LaunchTarget::run_command(command));
    entry.icon_source = icon;
    return aliased(std::move(entry), aliases);
}

CatalogEntry autostart_entry(bool registered, const std::optional<std::string>& icon) {
    std::string name =
        registered ? "Ne plus lancer Talvo au démarrage" : "Lancer Talvo au démarrage de Windows";
    std::string subtitle =
        registered ? "Commande Talvo · retire Talvo du démarrage de Windows"
                   : "Commande Talvo · Alt+Espace disponible dès l'ouverture de session";
    return command_entry("cmd:autostart", std::move(name), std::move(subtitle),
                         BuiltinCommand::Autostart, icon, {"startup", "demarrage", "autostart"});
}

}  // namespace

Catalog build_builtins(const SystemQueries& system) {
    Catalog entries;
    entries.reserve(1 + kFolders.size() + 4);
    entries.push_back(explorer_entry());
    for (const FolderRow& row : kFolders) {
        if (const std::optional<std::string> path = system.known_folder_path(row.folder)) {
            entries.push_back(folder_entry(row, *path));
        }
    }
    // The commands show the launcher's own icon, when its path is known.
    const std::optional<std::string> icon = system.executable_path();
    entries.push_back(command_entry("cmd:stats", "Statistiques de Talvo",
                                    "Commande Talvo · tes lancements, tes habitudes",
                                    BuiltinCommand::Stats, icon, {"stats", "statistiques"}));
    entries.push_back(autostart_entry(system.autostart_registered(), icon));
    entries.push_back(command_entry("cmd:quit", "Quitter Talvo",
                                    "Commande Talvo · ferme le lanceur", BuiltinCommand::Quit, icon,
                                    {"quit", "exit"}));
    entries.push_back(
        command_entry("cmd:windowmenu", "Menu de la fenêtre",
                      "Commande Talvo · le menu Alt+Espace de la fenêtre qui était devant",
                      BuiltinCommand::WindowMenu, icon, {"menu", "fenetre", "window menu"}));
    return entries;
}

}  // namespace talvo
