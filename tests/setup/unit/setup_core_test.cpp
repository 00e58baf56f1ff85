// The setup's platform-free rules: which arguments are switches, where things
// go, when two paths are one file, and the exact bytes of the registry data.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "setup/core/failure_texts.h"
#include "setup/core/messages.h"  // failure_box_text
#include "setup/core/paths.h"
#include "setup/core/registry_values.h"
#include "setup/core/removal_command.h"
#include "setup/core/switches.h"

namespace talvo::setup {
namespace {

constexpr char kLocal[] = "C:\\Users\\Zoé Ærø\\AppData\\Local";
constexpr char kFolder[] = "C:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo";

TEST(SetupSwitches, OnlyWholeCaseSensitiveSpellingsCountInAnyPosition) {
    const struct {
        std::vector<std::string> arguments;
        bool silent;
        bool uninstall;
    } cases[] = {
        {{}, false, false},
        {{"/s"}, true, false},
        {{"/S"}, true, false},
        {{"--silent"}, true, false},
        {{"/uninstall"}, false, true},
        {{"--uninstall"}, false, true},
        {{"x", "--uninstall", "y", "/S"}, true, true},
        {{"/U", "-s", "/Uninstall", "--SILENT", "/SILENT", "-uninstall", "/s ", "--silent=1"},
         false,
         false},
    };
    for (const auto& c : cases) {
        const SetupSwitches switches = parse_setup_switches(c.arguments);
        EXPECT_EQ(switches.silent, c.silent) << testing::PrintToString(c.arguments);
        EXPECT_EQ(switches.uninstall, c.uninstall) << testing::PrintToString(c.arguments);
    }
}

TEST(SetupPaths, FollowTheUserFolders) {
    const InstallPaths paths = install_paths(kLocal);
    EXPECT_EQ(paths.folder, kFolder);
    EXPECT_EQ(paths.launcher, std::string(kFolder) + "\\talvo.exe");
    EXPECT_EQ(paths.uninstaller, std::string(kFolder) + "\\uninstall.exe");
    EXPECT_EQ(shortcut_path_in("C:\\R"),
              "C:\\R\\Microsoft\\Windows\\Start Menu\\Programs\\Talvo.lnk");
    EXPECT_EQ(data_folder_in("C:\\R"), "C:\\R\\Talvo");
}

TEST(SetupPaths, SamePathComparesComponentsWithoutCase) {
    const std::string uninstaller = std::string(kFolder) + "\\uninstall.exe";
    const struct {
        const char* other;
        bool same;
    } cases[] = {
        {"C:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo\\uninstall.exe", true},
        {"c:\\USERS\\ZOÉ ÆRØ\\appdata\\local\\programs\\talvo\\UNINSTALL.EXE", true},
        {"C:/Users/Zoé Ærø/AppData/Local/Programs/Talvo/uninstall.exe", true},
        {"C:\\Users\\\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo\\uninstall.exe\\", true},
        {"\\\\?\\C:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo\\uninstall.exe", true},
        {"C:\\Users\\Zoe Ærø\\AppData\\Local\\Programs\\Talvo\\uninstall.exe", false},
        {"C:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo", false},
        {"C:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo\\uninstall.exe.bak", false},
        {"D:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo\\uninstall.exe", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(same_path(uninstaller, c.other), c.same) << c.other;
    }
    EXPECT_FALSE(same_path("\\\\server\\share\\a.exe", "\\server\\share\\a.exe"));
    EXPECT_FALSE(same_path("C:\\Straße\\a.exe", "C:\\STRASSE\\a.exe")) << "one unit each";
}

TEST(SetupPaths, LauncherImageNameIgnoresAsciiCaseOnly) {
    for (const char* name : {"talvo.exe", "Talvo.EXE", "TALVO.EXE"}) {
        EXPECT_TRUE(is_launcher_image_name(name)) << name;
    }
    for (const char* name : {"talvo.exe.bak", "xtalvo.exe", "talvo", "", "talvo.exé"}) {
        EXPECT_FALSE(is_launcher_image_name(name)) << name;
    }
}

// The boxes' questions are checked end to end, as the user reads them.
TEST(SetupTexts, FailureTextsAreTheFrenchTextsExactly) {
    const struct {
        std::string made;
        const char* expected;
    } cases[] = {
        {missing_variable_failure("LOCALAPPDATA"), "variable LOCALAPPDATA introuvable"},
        {create_folder_failure("C:\\T", "Accès refusé."), "création de C:\\T : Accès refusé."},
        {write_failure("C:\\T\\talvo.exe", "m"), "écriture de C:\\T\\talvo.exe : m"},
        {copy_uninstaller_failure("m"), "copie du désinstallateur : m"},
        {shortcut_failure("m"), "raccourci du menu Démarrer : m"},
        {registry_failure(kRunKey, kRunValueName, "m"),
         "registre Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Talvo : m"},
        {launch_failure("m"), "lancement de Talvo : m"},
        {failure_box_text("t"), "Une erreur est survenue :\n\nt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.made, c.expected);
    }
}

// UTF-16LE bytes with the terminating zero, written out by hand from code units.
std::vector<std::uint8_t> utf16_bytes(std::u16string units) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : units + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(SetupRegistry, UninstallEntryHoldsTenValuesInOrderWithExactBytes) {
    const std::u16string folder = u"C:\\Users\\Zoé Ærø\\AppData\\Local\\Programs\\Talvo";
    const std::vector<RegistryValue> values = uninstall_entry_values(install_paths(kLocal), 862);
    const struct {
        const char* name;
        ValueType type;
        std::vector<std::uint8_t> data;
    } expected[] = {
        {"DisplayName", ValueType::String, utf16_bytes(u"Talvo")},
        {"DisplayVersion", ValueType::String, utf16_bytes(u"0.1.0")},
        {"Publisher", ValueType::String, utf16_bytes(u"Quenlor")},
        {"DisplayIcon", ValueType::String, utf16_bytes(folder + u"\\talvo.exe,0")},
        {"InstallLocation", ValueType::String, utf16_bytes(folder)},
        {"UninstallString", ValueType::String,
         utf16_bytes(u"\"" + folder + u"\\uninstall.exe\" /uninstall")},
        {"QuietUninstallString", ValueType::String,
         utf16_bytes(u"\"" + folder + u"\\uninstall.exe\" /uninstall /S")},
        {"EstimatedSize", ValueType::Dword, {0x5E, 0x03, 0x00, 0x00}},
        {"NoModify", ValueType::Dword, {1, 0, 0, 0}},
        {"NoRepair", ValueType::Dword, {1, 0, 0, 0}},
    };
    ASSERT_EQ(values.size(), std::size(expected));
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].name, expected[i].name);
        EXPECT_EQ(values[i].type, expected[i].type) << expected[i].name;
        EXPECT_EQ(values[i].data, expected[i].data) << expected[i].name;
    }
    EXPECT_EQ(utf16_bytes(u"Talvo").size(), 12u) << "five units and the zero";
}

TEST(SetupRegistry, EstimatedSizeAddsWholeKibOfTheUninstaller) {
    EXPECT_EQ(estimated_size(667, 200'000), 862u);
    EXPECT_EQ(estimated_size(667, std::nullopt), 667u);
    EXPECT_EQ(estimated_size(667, 1023), 667u);
    EXPECT_EQ(estimated_size(667, 1024), 668u);
    EXPECT_EQ(estimated_size(0xFFFFFFF0u, std::uint64_t{1} << 40), 0xFFFFFFFFu) << "saturates";
}

TEST(SetupRegistry, StringDataKeepsCharactersBeyondTheBasicPlane) {
    EXPECT_EQ(string_data("\xF0\x9F\x98\x80"),
              (std::vector<std::uint8_t>{0x3D, 0xD8, 0x00, 0xDE, 0, 0}))
        << "a character beyond U+FFFF is a surrogate pair";
}

TEST(SetupRemoval, TailIsVerbatimUnlessThePathCouldReachAnotherFolder) {
    EXPECT_EQ(removal_command_tail("C:\\Users\\Zoé & Co (1)\\Talvo"),
              "/c ping -n 3 127.0.0.1 >nul & rmdir /s /q \"C:\\Users\\Zoé & Co (1)\\Talvo\"");
    EXPECT_TRUE(removal_command_tail("\\\\server\\share\\Talvo").has_value());
    for (const char* folder : {"C:\\Users\\%USERNAME%\\Talvo", "C:\\Users\\a\" & rd \"C:\\x",
                               "Programs\\Talvo", "C:Programs\\Talvo", ""}) {
        EXPECT_EQ(removal_command_tail(folder), std::nullopt) << folder;
    }
}

}  // namespace
}  // namespace talvo::setup
