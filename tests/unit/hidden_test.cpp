// The hidden list: hidden.txt parsing and writing, hiding rules, menu order.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/hidden.h"
#include "core/matching/visible_catalog.h"
#include "test_platform.h"

namespace talvo {
namespace {

using testing::TestPlatform;
using Texts = std::vector<std::string>;

Texts sorted(const HiddenKeys& keys) {
    Texts texts(keys.begin(), keys.end());
    std::sort(texts.begin(), texts.end());
    return texts;
}

struct ParseCase {
    const char* label;
    std::string text;
    Texts keys;
};

TEST(ParseHidden, ToleratesWhatEditorsAndOtherToolsLeave) {
    const ParseCase cases[] = {
        {"normalised", "app:a\ndir:downloads\n", {"app:a", "dir:downloads"}},
        {"windows line ends", "app:a\r\ndir:downloads\r\n", {"app:a", "dir:downloads"}},
        {"no final line feed", "app:a\ndir:downloads", {"app:a", "dir:downloads"}},
        {"indented", "  app:a\n\tdir:downloads  \n", {"app:a", "dir:downloads"}},
        {"unicode blanks",
         "\xC2\xA0"
         "app:a\xE3\x80\x80\n",
         {"app:a"}},
        {"blank lines", "\n\n   \n\r\napp:a\n\n", {"app:a"}},
        {"duplicates", "app:a\napp:a\n app:a\n", {"app:a"}},
        {"inner spaces kept", "app:Foo Bar\n", {"app:Foo Bar"}},
        {"bad line skipped", "app:a\napp:\xFF\xFE\ndir:downloads\n", {"app:a", "dir:downloads"}},
        {"lone surrogate skipped", "app:\xED\xA0\x80\napp:b\n", {"app:b"}},
        {"cut character skipped", "app:b\napp:\xC3", {"app:b"}},
        {"nul bytes kept",
         std::string("app:a\0b\napp:c\n", 14),
         {std::string("app:a\0b", 7), "app:c"}},
        {"empty", "", {}},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(sorted(parse_hidden(c.text)), c.keys) << c.label;
    }
}

TEST(FormatHidden, SortsByBytesShorterFirstOneKeyALine) {
    const HiddenKeys keys{"app:b", "app:\xC3\xA9", "app:a", "app:ab", "dir:x", "app:Z"};
    EXPECT_EQ(format_hidden(keys), "app:Z\napp:a\napp:ab\napp:b\napp:\xC3\xA9\ndir:x\n");
    EXPECT_EQ(format_hidden({}), "");
}

TEST(HiddenFile, PathIsBelowAppDataOrTheCurrentFolder) {
    testing::FakeEnvironment environment;
    environment.variables["APPDATA"] = "base";
    EXPECT_EQ(hidden_path(environment), join_path(join_path("base", "Talvo"), "hidden.txt"));
    environment.variables.clear();
    EXPECT_EQ(hidden_path(environment), join_path(join_path(".", "Talvo"), "hidden.txt"));
}

class HiddenFileTest : public ::testing::Test {
  protected:
    std::optional<std::string> file() const {
        return platform.get().files.read_file(platform.data_file("hidden.txt"));
    }
    std::optional<std::string> log() const {
        return platform.get().files.read_file(platform.data_file("talvo.log"));
    }
    void write_file(std::string_view text) {
        Platform p = platform.get();
        p.files.create_directories(data_folder(p.environment));
        p.files.write(platform.data_file("hidden.txt"), text, WriteMode::Truncate);
    }

    mutable TestPlatform platform;
};

TEST_F(HiddenFileTest, MissingFileLoadsEmptyAndSaveCreatesTheFolder) {
    EXPECT_TRUE(load_hidden(platform.get()).empty());
    save_hidden({"dir:downloads", "app:a"}, platform.get());
    EXPECT_EQ(file(), "app:a\ndir:downloads\n");
    EXPECT_EQ(sorted(load_hidden(platform.get())), (Texts{"app:a", "dir:downloads"}));
}

TEST_F(HiddenFileTest, MessyFileLoadsTheSameSetAndIsWrittenBackNormalised) {
    write_file("\r\n  dir:downloads\r\n\r\napp:\xFF\r\n\tapp:b \r\napp:a");
    HiddenKeys keys = load_hidden(platform.get());
    EXPECT_EQ(sorted(keys), (Texts{"app:a", "app:b", "dir:downloads"}));
    unhide_entry(keys, "app:b", platform.get());
    EXPECT_EQ(file(), "app:a\ndir:downloads\n");
}

TEST_F(HiddenFileTest, HundredThousandLinesAndAHugeLineRoundTrip) {
    HiddenKeys keys;
    for (int i = 0; i < 100'000; ++i) {
        std::string key = "app:Vendor.App_";
        key.append(std::to_string(i)).append("!App");
        keys.insert(std::move(key));
    }
    const std::string huge = "app:" + std::string(4'000'000, 'x');
    keys.insert(huge);
    save_hidden(keys, platform.get());
    const HiddenKeys loaded = load_hidden(platform.get());
    EXPECT_EQ(loaded.size(), 100'001u);
    EXPECT_TRUE(loaded == keys);
}

TEST_F(HiddenFileTest, AFolderInTheFilesPlaceLoadsEmptyAndSavingChangesNothing) {
    Platform p = platform.get();
    ASSERT_TRUE(p.files.create_directories(platform.data_file("hidden.txt")));
    HiddenKeys keys = load_hidden(p);
    EXPECT_TRUE(keys.empty());
    EXPECT_TRUE(hide_entry(keys, "app:a", p));
    EXPECT_EQ(sorted(keys), (Texts{"app:a"}));  // the set in memory stays right
    EXPECT_TRUE(std::filesystem::is_directory(platform.data_file("hidden.txt")));
}

struct HideCase {
    const char* key;
    bool hidden;
};

TEST_F(HiddenFileTest, HidingSavesAndLogsExceptForLauncherCommands) {
    const HideCase cases[] = {
        {"cmd:quit", false}, {"cmd:", false},    {"cmd:autostart", false},
        {"cmd", true},       {"CMD:quit", true}, {"dir:downloads", true},
    };
    for (const HideCase& c : cases) {
        TestPlatform fresh;
        HiddenKeys keys;
        EXPECT_EQ(hide_entry(keys, c.key, fresh.get()), c.hidden) << c.key;
        EXPECT_EQ(keys.contains(c.key), c.hidden) << c.key;
        const Platform p = fresh.get();
        const auto file = p.files.read_file(fresh.data_file("hidden.txt"));
        const auto log = p.files.read_file(fresh.data_file("talvo.log"));
        if (!c.hidden) {
            EXPECT_FALSE(file.has_value() || log.has_value()) << c.key;  // nothing written
            continue;
        }
        std::string line(c.key);
        line.push_back('\n');
        EXPECT_EQ(file, line);
        ASSERT_TRUE(log.has_value()) << c.key;
        EXPECT_NE(log->find(std::string("masqu\xC3\xA9 : ").append(line)), std::string::npos);
    }
}

TEST_F(HiddenFileTest, UnhidingRewritesTheFileEvenWhenNothingChanged) {
    write_file("app:b\r\napp:a\r\n");
    HiddenKeys keys = load_hidden(platform.get());
    unhide_entry(keys, "app:not-hidden", platform.get());
    EXPECT_EQ(file(), "app:a\napp:b\n");
    unhide_entry(keys, "app:a", platform.get());
    EXPECT_EQ(file(), "app:b\n");
}

TEST_F(HiddenFileTest, ShowAllLeavesAnEmptyFile) {
    HiddenKeys keys{"app:a", "dir:music"};
    save_hidden(keys, platform.get());
    unhide_all(keys, platform.get());
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(file(), "");
}

// The rows follow every change of the catalogue or of the hidden list: the
// match index belongs to both by construction.
TEST_F(HiddenFileTest, TheVisibleCatalogueKeepsItsIndexWithEachChange) {
    const auto entry = [](const char* key, const char* name) {
        return make_entry(key, name, "", LaunchTarget::open_path(key));
    };
    const LearningMemory memory;
    const auto rows = [&](const VisibleCatalog& visible, const char* query) {
        std::vector<std::string> keys;
        for (const CatalogEntry& row : compute_results(visible.sources(memory), query, {9, 0})) {
            keys.push_back(row.key);
        }
        return keys;
    };
    VisibleCatalog visible({entry("app:a", "Alpha"), entry("app:b", "Alphabet")}, {"app:b"});
    EXPECT_EQ(rows(visible, "alph"), (Texts{"app:a"})) << "hidden at the start";
    EXPECT_TRUE(visible.hide("app:a", platform.get()));
    EXPECT_EQ(rows(visible, "alph"), Texts{});
    EXPECT_EQ(file(), "app:a\napp:b\n");
    visible.unhide("app:b", platform.get());
    EXPECT_EQ(rows(visible, "alph"), (Texts{"app:b"}));
    visible.install(
        {entry("app:b", "Alphabet"), entry("app:c", "Alpine"), entry("app:a", "Alpha")});
    EXPECT_EQ(rows(visible, "alp"), (Texts{"app:c", "app:b"})) << "still hidden in a new catalogue";
    EXPECT_EQ(visible.key_index().at("app:c"), 1u);
    EXPECT_FALSE(visible.hide("cmd:quit", platform.get()));
    visible.unhide_all(platform.get());
    EXPECT_EQ(rows(visible, "alpha"), (Texts{"app:a", "app:b"}));
    const Catalog taken = visible.take();
    EXPECT_EQ(taken.size(), 3u);
    EXPECT_EQ(rows(visible, "alpha"), Texts{}) << "nothing left to match";
}

CatalogEntry named(const char* key, const char* name) {
    return make_entry(key, name, "", LaunchTarget::open_path(key));
}

TEST(HiddenMenu, LabelsComeFromTheCatalogueOrTheKeyAndSortWithoutCase) {
    const Catalog catalog{named("app:paint3d", "Paint 3D"),
                          named("app:paint", "Paint"),
                          named("dir:videos", "Vid\xC3\xA9os"),
                          named("app:zoom", "zoom"),
                          named("app:vlc", "VLC media player"),
                          named("app:ecran",
                                "\xC3\x89"
                                "cran")};
    const KeyIndex index = build_key_index(catalog);
    const HiddenKeys keys{"app:paint3d",       "app:paint", "dir:videos",
                          "app:zoom",          "app:vlc",   "app:ecran",
                          "app:Foo.App_x!App", "nocolon",   "app:C:\\Tools\\a.exe"};
    std::vector<std::pair<std::string, std::string>> items;
    for (const HiddenMenuItem& item : hidden_menu_items(keys, catalog, index)) {
        items.emplace_back(item.key, item.label);
    }
    // Lower-cased labels compare by bytes: "é" (C3 A9) sorts after every ASCII letter.
    const std::vector<std::pair<std::string, std::string>> expected{
        {"app:C:\\Tools\\a.exe", "C:\\Tools\\a.exe"},  // only the first ':' ends the prefix
        {"app:Foo.App_x!App", "Foo.App_x!App"},        // uninstalled: text after the prefix
        {"nocolon", "nocolon"},
        {"app:paint", "Paint"},
        {"app:paint3d", "Paint 3D"},
        {"dir:videos", "Vid\xC3\xA9os"},
        {"app:vlc", "VLC media player"},
        {"app:zoom", "zoom"},
        {"app:ecran",
         "\xC3\x89"
         "cran"},
    };
    EXPECT_EQ(items, expected);
    EXPECT_TRUE(hidden_menu_items({}, catalog, index).empty());
}

}  // namespace
}  // namespace talvo
