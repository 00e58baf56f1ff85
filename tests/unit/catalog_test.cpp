// Entry construction, key index and the built-in replacement rule.
#include <gtest/gtest.h>

#include "core/catalog/catalog.h"

namespace talvo {
namespace {

using Words = std::vector<std::string>;

struct WordCase {
    const char* name;
    Words words;
    const char* initials;
};

TEST(MakeEntry, SplitsNamesIntoFoldedWords) {
    const WordCase cases[] = {
        {"VLC media player", {"vlc", "media", "player"}, "vmp"},
        {"OneDrive", {"one", "drive"}, "od"},
        {"7Zip", {"7", "zip"}, "7z"},
        {"Win10Pro", {"win10", "pro"}, "wp"},
        {"HTMLEditor", {"htmleditor"}, "h"},
        {"Visual Studio Code - Insiders", {"visual", "studio", "code", "insiders"}, "vsci"},
        {"Écran d'accueil", {"ecran", "d", "accueil"}, "eda"},
        {"ÉcranÉteint", {"ecran", "eteint"}, "ee"},  // camel case with accented capitals
        {"x²Calc", {"x²", "calc"}, "xc"},            // ² is numeric and splits before C
        {"Über3D", {"uber3", "d"}, "ud"},
        // ª, µ and º are letters below U+00C0: word characters, and small
        // letters before a capital like any other.
        {"µtorrent", {"µtorrent"}, "µ"},
        {"µTorrent", {"µ", "torrent"}, "µt"},
        {"Nº5 ªlpha", {"nº5", "ªlpha"}, "nª"},
        {"C:\\Outils\\vlc.exe", {"c", "outils", "vlc", "exe"}, "cove"},
        {"Microsoft.WindowsCalculator_8wekyb3d8bbwe!App",
         {"microsoft", "windows", "calculator", "8wekyb3d8bbwe", "app"},
         "mwc8a"},
    };
    for (const WordCase& c : cases) {
        const CatalogEntry entry = make_entry("app:x", c.name, "", LaunchTarget::open_path("x"));
        EXPECT_EQ(entry.words, c.words) << c.name;
        EXPECT_EQ(entry.initials, c.initials) << c.name;
    }
}

TEST(MakeEntry, PunctuationOnlyNameKeepsFoldedMatchNameButNoWords) {
    const CatalogEntry entry = make_entry("app:p", "--- !!", "", LaunchTarget::open_path("p"));
    EXPECT_EQ(entry.match_name, "--- !!");
    EXPECT_TRUE(entry.words.empty());
    EXPECT_EQ(entry.initials, "");

    const CatalogEntry empty = make_entry("app:e", "", "", LaunchTarget::open_path("e"));
    EXPECT_EQ(empty.match_name, "");
    EXPECT_TRUE(empty.words.empty());
}

TEST(MakeEntry, FillsTheGivenFieldsAndLeavesTheOptionalOnesAbsent) {
    const CatalogEntry entry =
        make_entry("cmd:quit", "Quitter Talvo", "Commande Talvo · ferme le lanceur",
                   LaunchTarget::run_command(BuiltinCommand::Quit));
    EXPECT_EQ(entry.key, "cmd:quit");
    EXPECT_EQ(entry.match_name, "quitter talvo");
    EXPECT_EQ(entry.target.kind, LaunchTarget::Kind::Command);
    EXPECT_EQ(entry.target.command, BuiltinCommand::Quit);
    EXPECT_TRUE(entry.aliases.empty());
    EXPECT_FALSE(entry.exe_path.has_value());
    EXPECT_FALSE(entry.icon_source.has_value());
}

TEST(WithAliases, ReplacesAliasesWithFoldedTextsInOrder) {
    CatalogEntry entry = make_entry("dir:x", "X", "", LaunchTarget::open_path("x"));
    entry = with_aliases(std::move(entry), {"Old"});
    entry = with_aliases(std::move(entry), {"Démarrage", "EXIT", "~"});
    EXPECT_EQ(entry.aliases, (Words{"demarrage", "exit", "~"}));
}

CatalogEntry entry_with_key(const char* key) {
    return make_entry(key, key, "", LaunchTarget::open_path(key));
}

TEST(KeyIndex, LaterDuplicateWinsWhileBothRowsStay) {
    const Catalog catalog = {entry_with_key("app:a"), entry_with_key("app:b"),
                             entry_with_key("app:a")};
    const KeyIndex index = build_key_index(catalog);
    EXPECT_EQ(catalog.size(), 3u);
    EXPECT_EQ(index.size(), 2u);
    EXPECT_EQ(index.at("app:a"), 2u);
    EXPECT_EQ(index.at("app:b"), 1u);
}

TEST(ReplaceBuiltins, FreshBuiltinsFirstThenScannedEntriesInTheirOrder) {
    const Catalog current = {entry_with_key("dir:explorer"), entry_with_key("cmd:quit"),
                             entry_with_key("app:z"),        entry_with_key("dir:old"),
                             entry_with_key("app:a"),        entry_with_key("app:z")};
    const Catalog fresh = {entry_with_key("dir:explorer"), entry_with_key("cmd:stats")};
    const Catalog result = replace_builtins(fresh, current);
    std::vector<std::string> keys;
    for (const CatalogEntry& e : result) {
        keys.push_back(e.key);
    }
    EXPECT_EQ(keys, (Words{"dir:explorer", "cmd:stats", "app:z", "app:a", "app:z"}));
}

}  // namespace
}  // namespace talvo
