// The built-in entries: order, texts, paths, aliases and the autostart state.
#include <gtest/gtest.h>

#include <map>

#include "core/catalog/builtins.h"
#include "core/matching/results.h"

namespace talvo {
namespace {

// Answers the system questions from fixed tables.
class FakeSystem final : public SystemQueries {
  public:
    std::map<KnownFolder, std::string> folders;
    bool registered = false;
    std::optional<std::string> executable =
        "C:\\Users\\Léa\\AppData\\Local\\Programs\\Talvo\\talvo.exe";

    std::optional<std::string> known_folder_path(KnownFolder folder) const override {
        const auto found = folders.find(folder);
        return found == folders.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::optional<std::string> known_folder_path_by_id(std::string_view) const override {
        return std::nullopt;
    }
    bool autostart_registered() const override { return registered; }
    std::optional<std::string> executable_path() const override { return executable; }
};

FakeSystem every_folder() {
    FakeSystem system;
    system.folders = {
        {KnownFolder::Pictures, "C:\\Users\\Léa\\Pictures"},
        {KnownFolder::Downloads, "C:\\Users\\Léa\\Downloads"},
        {KnownFolder::Documents, "C:\\Users\\Léa\\Documents"},
        {KnownFolder::Desktop, "C:\\Users\\Léa\\Desktop"},
        {KnownFolder::Music, "C:\\Users\\Léa\\Music"},
        {KnownFolder::Videos, "C:\\Users\\Léa\\Videos"},
        {KnownFolder::Profile, "C:\\Users\\Léa"},
    };
    return system;
}

std::vector<std::string> keys_of(const Catalog& catalog) {
    std::vector<std::string> keys;
    for (const CatalogEntry& entry : catalog) {
        keys.push_back(entry.key);
    }
    return keys;
}

using Texts = std::vector<std::string>;

struct Expected {
    const char* key;
    const char* name;
    Texts aliases;
};

TEST(BuildBuiltins, TwelveEntriesInOrderWithTheirNamesAndAliases) {
    const Expected expected[] = {
        {"dir:explorer",
         "Explorateur de fichiers",
         {"f", "file explorer", "explorer", "explorateur"}},
        {"dir:images", "Images", {"i", "pictures", "photos"}},
        {"dir:downloads",
         "T\xC3\xA9l\xC3\xA9"
         "chargements",
         {"d", "downloads"}},
        {"dir:documents", "Documents", {"documents", "docs"}},
        {"dir:desktop", "Bureau", {"b", "desktop"}},
        {"dir:music", "Musique", {"m", "music"}},
        {"dir:videos", "Vid\xC3\xA9os", {"v", "videos", "movies"}},
        {"dir:home", "Dossier personnel", {"h", "~", "home", "maison"}},
        {"cmd:stats", "Statistiques de Talvo", {"stats", "statistiques"}},
        {"cmd:autostart",
         "Lancer Talvo au d\xC3\xA9marrage de Windows",
         {"startup", "demarrage", "autostart"}},
        {"cmd:quit", "Quitter Talvo", {"quit", "exit"}},
        {"cmd:windowmenu", "Menu de la fen\xC3\xAAtre", {"menu", "fenetre", "window menu"}},
    };
    const Catalog catalog = build_builtins(every_folder());
    ASSERT_EQ(catalog.size(), std::size(expected));
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        EXPECT_EQ(catalog[i].key, expected[i].key);
        EXPECT_EQ(catalog[i].name, expected[i].name);
        EXPECT_EQ(catalog[i].aliases, expected[i].aliases) << expected[i].key;
    }
}

// Explorer opens through its program name; a folder's path is everything else.
TEST(BuildBuiltins, ExplorerAndFolderTargetsAndIcons) {
    const Catalog catalog = build_builtins(every_folder());
    const CatalogEntry& explorer = catalog[0];
    EXPECT_EQ(explorer.subtitle, "Explorateur Windows");
    EXPECT_EQ(explorer.target, LaunchTarget::open_path("explorer.exe"));
    EXPECT_EQ(explorer.icon_source, "shell:AppsFolder\\Microsoft.Windows.Explorer");
    EXPECT_FALSE(explorer.exe_path.has_value());

    const CatalogEntry& downloads = catalog[2];
    const std::string path = "C:\\Users\\Léa\\Downloads";
    EXPECT_EQ(downloads.subtitle, path);
    EXPECT_EQ(downloads.target, LaunchTarget::open_path(path));
    EXPECT_EQ(downloads.exe_path, path);
    EXPECT_EQ(downloads.icon_source, path);
}

TEST(BuildBuiltins, FoldersThatCannotBeResolvedAreLeftOut) {
    FakeSystem system = every_folder();
    system.folders.erase(KnownFolder::Downloads);
    system.folders.erase(KnownFolder::Profile);
    EXPECT_EQ(keys_of(build_builtins(system)),
              (Texts{"dir:explorer", "dir:images", "dir:documents", "dir:desktop", "dir:music",
                     "dir:videos", "cmd:stats", "cmd:autostart", "cmd:quit", "cmd:windowmenu"}));

    system.folders.clear();
    EXPECT_EQ(keys_of(build_builtins(system)),
              (Texts{"dir:explorer", "cmd:stats", "cmd:autostart", "cmd:quit", "cmd:windowmenu"}));
}

struct CommandCase {
    const char* key;
    BuiltinCommand command;
    const char* subtitle;
};

// Escaped bytes: the middle dot is U+00B7 and the apostrophe U+0027.
TEST(BuildBuiltins, CommandsRunTheirCodeAndShowTheLauncherIcon) {
    const CommandCase cases[] = {
        {"cmd:stats", BuiltinCommand::Stats,
         "Commande Talvo \xC2\xB7 tes lancements, tes habitudes"},
        {"cmd:autostart", BuiltinCommand::Autostart,
         "Commande Talvo \xC2\xB7 Alt+Espace disponible d\xC3\xA8s l\x27ouverture de session"},
        {"cmd:quit", BuiltinCommand::Quit, "Commande Talvo \xC2\xB7 ferme le lanceur"},
        {"cmd:windowmenu", BuiltinCommand::WindowMenu,
         "Commande Talvo \xC2\xB7 le menu Alt+Espace de la fen\xC3\xAAtre qui \xC3\xA9tait devant"},
    };
    const FakeSystem system = every_folder();
    const Catalog catalog = build_builtins(system);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const CatalogEntry& entry = catalog[8 + i];
        EXPECT_EQ(entry.key, cases[i].key);
        EXPECT_EQ(entry.target, LaunchTarget::run_command(cases[i].command));
        EXPECT_EQ(entry.subtitle, cases[i].subtitle);
        EXPECT_EQ(entry.icon_source, system.executable);
        EXPECT_FALSE(entry.exe_path.has_value());
    }
}

TEST(BuildBuiltins, WithoutAnExecutablePathCommandsHaveNoIcon) {
    FakeSystem system = every_folder();
    system.executable.reset();
    const Catalog catalog = build_builtins(system);
    ASSERT_EQ(catalog.size(), 12u);
    for (std::size_t i = 8; i < 12; ++i) {
        EXPECT_FALSE(catalog[i].icon_source.has_value()) << catalog[i].key;
    }
    EXPECT_TRUE(catalog[0].icon_source.has_value());
}

TEST(BuildBuiltins, AutostartEntryReadsTheRegistrationWhenBuilt) {
    FakeSystem system = every_folder();
    system.registered = true;
    const CatalogEntry on = build_builtins(system)[9];
    EXPECT_EQ(on.name, "Ne plus lancer Talvo au d\xC3\xA9marrage");
    EXPECT_EQ(on.subtitle, "Commande Talvo \xC2\xB7 retire Talvo du d\xC3\xA9marrage de Windows");

    system.registered = false;
    const CatalogEntry off = build_builtins(system)[9];
    EXPECT_EQ(off.name, "Lancer Talvo au d\xC3\xA9marrage de Windows");
}

TEST(BuildBuiltins, ShortAliasesFindTheirFolderFirst) {
    const Catalog catalog = build_builtins(every_folder());
    const KeyIndex index = build_key_index(catalog);
    const LearningMemory memory;
    const HiddenKeys hidden;
    const MatchIndex match_index(catalog, hidden);
    const ResultSources sources{catalog, index, hidden, memory, match_index};
    const std::pair<const char*, const char*> cases[] = {
        {"d", "dir:downloads"},  // not Documents, which has no one-letter alias
        {"~", "dir:home"},          {"exit", "cmd:quit"},
        {"f", "dir:explorer"},      {"demarrage", "cmd:autostart"},
        {"menu", "cmd:windowmenu"}, {"fenetre", "cmd:windowmenu"},
    };
    for (const auto& [query, key] : cases) {
        const auto rows = compute_results(sources, query, {12, 0});
        ASSERT_FALSE(rows.empty()) << query;
        EXPECT_EQ(rows.front().key, key) << query;
    }
}

}  // namespace
}  // namespace talvo
