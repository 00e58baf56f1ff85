// How recorded Applications-folder items become catalogue entries.
#include <gtest/gtest.h>

#include "core/catalog/scan_rules.h"
#include "core/text/byte_mask.h"
#include "test_platform.h"

namespace talvo {
namespace {

constexpr const char* kProgramFilesId = "{905e63b6-c1bf-494e-b29c-65b732d3d21a}";

// Knows one known folder by identifier; nothing else is asked here.
class FakeSystem final : public SystemQueries {
  public:
    std::optional<std::string> known_folder_path(KnownFolder) const override {
        return std::nullopt;
    }
    std::optional<std::string> known_folder_path_by_id(std::string_view id) const override {
        if (id == kProgramFilesId) {
            return std::string("C:\\Program Files");
        }
        return std::nullopt;
    }
    bool autostart_registered() const override { return false; }
    std::optional<std::string> executable_path() const override { return std::nullopt; }
};

const FakeSystem kSystem;

std::optional<CatalogEntry> scan(const ScannedItem& item) {
    return make_scanned_entry(item, kSystem, system_platform().files);
}

struct KeptCase {
    ScannedItem item;
    const char* subtitle;
};

TEST(ScannedItem, SubtitleIsTheTargetOrWhatTheIdentityIs) {
    const std::string program_files_tool = std::string(kProgramFilesId) + "\\Vendor\\Tool.exe";
    const KeptCase cases[] = {
        {{"VLC", "VideoLAN.VLC", "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe"},
         "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe"},
        {{"Calculatrice", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", ""},
         "Application Microsoft Store"},
        {{"Site", "https://example.com/a!b", ""}, "https://example.com/a!b"},
        {{"Outil", "C:\\Tools\\outil.exe", ""}, "C:\\Tools\\outil.exe"},
        {{"Tool", program_files_tool, ""}, "C:\\Program Files\\Vendor\\Tool.exe"},
        // The link target wins over every rule on the identity.
        {{"Tool", program_files_tool, "D:\\Other\\tool.exe"}, "D:\\Other\\tool.exe"},
        // An unknown or unclosed known-folder identifier falls through to the identity.
        {{"Tool", "{00000000-0000-0000-0000-000000000000}\\x.exe", ""},
         "{00000000-0000-0000-0000-000000000000}\\x.exe"},
        {{"Tool", "{905e63b6\\x.exe", ""}, "{905e63b6\\x.exe"},
        {{"Two", "C:", ""}, "C:"},  // too short to be a path
        {{"Plain", "Some.Id", ""}, "Some.Id"},
        {{"Case", "Some.Id", "C:\\MiXeD\\Case.EXE"}, "C:\\MiXeD\\Case.EXE"},
    };
    for (const KeptCase& c : cases) {
        const auto entry = scan(c.item);
        ASSERT_TRUE(entry.has_value()) << c.item.id;
        EXPECT_EQ(entry->subtitle, c.subtitle) << c.item.id;
    }
}

TEST(ScannedItem, KeyLaunchTextAndIconComeFromTheIdentity) {
    const auto entry = scan({"Calculatrice", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", ""});
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->key, "app:Microsoft.WindowsCalculator_8wekyb3d8bbwe!App");
    EXPECT_EQ(entry->name, "Calculatrice");
    EXPECT_EQ(
        entry->target,
        LaunchTarget::open_path("shell:AppsFolder\\Microsoft.WindowsCalculator_8wekyb3d8bbwe!App"));
    EXPECT_EQ(entry->icon_source,
              "shell:AppsFolder\\Microsoft.WindowsCalculator_8wekyb3d8bbwe!App");
    EXPECT_TRUE(entry->aliases.empty());
    EXPECT_EQ(entry->words, (std::vector<std::string>{"calculatrice"}));
}

TEST(ScannedItem, OnlyAnExistingTargetBecomesTheExecutablePath) {
    const testing::ScratchFolder folder;
    const std::string present = folder.file("tool.exe");
    system_platform().files.write(present, "MZ", WriteMode::Truncate);
    const std::string absent = folder.file("gone.exe");

    const auto with_file = scan({"Tool", "Vendor.Tool", present});
    ASSERT_TRUE(with_file.has_value());
    EXPECT_EQ(with_file->exe_path, present);

    const auto with_folder = scan({"Folder", "Vendor.Folder", folder.path()});
    ASSERT_TRUE(with_folder.has_value());
    EXPECT_EQ(with_folder->exe_path, folder.path());

    const auto without = scan({"Gone", "Vendor.Gone", absent});
    ASSERT_TRUE(without.has_value());
    EXPECT_EQ(without->subtitle, absent);
    EXPECT_FALSE(without->exe_path.has_value());

    const auto store = scan({"Store", "Foo.App_x!App", ""});
    ASSERT_TRUE(store.has_value());
    EXPECT_FALSE(store->exe_path.has_value());
}

TEST(ScannedItem, ExplorerBlankNamesAndUninstallersAreLeftOut) {
    const ScannedItem skipped[] = {
        {"Explorateur", "Microsoft.Windows.Explorer", ""},
        {"", "Vendor.Blank", ""},
        {"   ", "Vendor.Blank", ""},
        {"\xC2\xA0\t\xE3\x80\x80", "Vendor.Blank", ""},
        {"D\xC3\xA9sinstaller Foo", "Foo.Uninstall", ""},
        {"DÉSINSTALLER FOO", "Foo.Uninstall", ""},
        {"Uninstall Foo", "Foo.Uninstall", ""},
        {"UninstallFoo", "Foo.Uninstall", ""},
        {"Foo Uninstaller", "Foo.Uninstaller", "C:\\Foo\\Uninstall.exe"},
        {"Foo Uninstaller", "Foo.Uninstaller", "C:\\Foo\\unins000.exe"},
        {"Foo", "Foo.Setup", "C:\\Program Files\\Foo\\UNINS001.EXE"},
        {"Foo", "C:\\Foo\\uninstall.exe", ""},  // the identity as target path
    };
    for (const ScannedItem& item : skipped) {
        EXPECT_FALSE(scan(item).has_value()) << item.name << " / " << item.id;
    }
}

TEST(ScannedItem, NamesAndTargetsThatOnlyLookLikeUninstallersStay) {
    const ScannedItem kept[] = {
        {"Foo Uninstaller", "Foo.Uninstaller", "C:\\Foo\\foo.exe"},
        {"Foo Uninstaller", "Foo.Uninstaller", ""},
        {"Foo", "Foo.App", "C:\\Foo\\uninstall.exe.config"},
        {"Foo", "Foo.App", "C:\\Foo\\unins.exe"},
        {" Uninstall Foo", "Foo.App", ""},  // the name test does not trim
        {"microsoft.windows.explorer", "microsoft.windows.explorer", ""},
        {"Explorateur", "Microsoft.Windows.Explorer2", ""},
    };
    for (const ScannedItem& item : kept) {
        EXPECT_TRUE(scan(item).has_value()) << item.name << " / " << item.link_target;
    }
}

// The file name people type from the Run box: kept when it says more than
// the display name, whatever its extension's case and whether the file exists.
TEST(ScannedItem, AProgramsFileNameIsKeptAsItsStem) {
    const std::string program_files_tool = std::string(kProgramFilesId) + "\\Remote\\mstsc.exe";
    const struct {
        ScannedItem item;
        std::optional<std::string> stem;
    } cases[] = {
        {{"Invite de commandes", "Cmd.Link", "C:\\Windows\\System32\\cmd.exe"}, "cmd"},
        {{"Gestion de l'ordinateur", "Mmc.Link", "C:\\Windows\\System32\\CompMgmt.MSC"},
         "compmgmt"},
        {{"Affichage", "Desk.Link", "C:\\Windows\\System32\\desk.Cpl"}, "desk"},
        {{"Connexion Bureau à distance", program_files_tool, ""}, "mstsc"},  // a path with a space
        {{"Bloc", "C:\\Outils\\Éditeur Pro.EXE", ""}, "editeur pro"},        // folded
        {{"Firefox", "Moz.Link", "C:\\Program Files\\Mozilla Firefox\\FIREFOX.exe"},
         std::nullopt},                                                              // the name
        {{"Google Chrome", "Chrome.Link", "C:\\Chrome\\chrome.exe"}, std::nullopt},  // a word
        {{"Lisez-moi", "Doc.Link", "C:\\Outils\\readme.txt"}, std::nullopt},
        {{"Outil", "Tool.Link", "C:\\Outils\\outil.exe.config"}, std::nullopt},
        {{"Rien", "Dot.Link", "C:\\Outils\\.exe"}, std::nullopt},
        {{"Calculatrice", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", ""}, std::nullopt},
        {{"Site", "https://example.com/setup.exe", ""}, std::nullopt},  // a URL item
    };
    for (const auto& c : cases) {
        const std::optional<CatalogEntry> entry = scan(c.item);
        ASSERT_TRUE(entry.has_value()) << c.item.name;
        EXPECT_EQ(entry->file_stem, c.stem) << c.item.name;
        if (c.stem) {
            EXPECT_TRUE(may_hold_all(entry->byte_mask, byte_mask(*c.stem)))
                << c.item.name << ": the stem's bytes are in the entry's mask";
        }
    }
}

}  // namespace
}  // namespace talvo
