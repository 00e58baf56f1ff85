// The setup's platform-free rules: which arguments are switches, where things
// go, when two paths are one file, and the exact bytes of the registry data.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setup/core/failure_texts.h"
#include "setup/core/launcher_processes.h"
#include "setup/core/messages.h"  // failure_box_text
#include "setup/core/paths.h"
#include "setup/core/registry_values.h"
#include "setup/core/removal_command.h"
#include "setup/core/switches.h"
#include "setup/core/write_retry.h"

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
        {{"/S", "/uninstall"}, true, true},
        {{"/uninstall", "/S"}, true, true},
        {{"--silent", "x"}, true, false},
        {{"x", "--silent"}, true, false},
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
    const struct {
        const char* a;
        const char* b;
        bool same;
    } pairs[] = {
        {"\\\\server\\share\\a.exe", "\\server\\share\\a.exe", false},
        {"\\\\?\\UNC\\srv\\sh\\a.exe", "\\\\srv\\sh\\a.exe", true},
        {"C:\\Straße\\a.exe", "C:\\STRASSE\\a.exe", false},  // one unit each
        {"C:\\Straße\\a.exe", "C:\\Strase\\a.exe", false},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(same_path(p.a, p.b), p.same) << p.a << " / " << p.b;
    }
}

TEST(SetupPaths, ZoneIdentifierIsTheFilesAlternateStream) {
    EXPECT_EQ(zone_identifier_stream("C:\\Zoé\\uninstall.exe"),
              "C:\\Zoé\\uninstall.exe:Zone.Identifier");
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
    EXPECT_EQ(uninstall_entry_values(install_paths(kLocal), 0x01020304)[7].data,
              (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01}))
        << "a size of 2^24 KiB or more keeps its fourth byte";
}

TEST(SetupRegistry, EstimatedSizeAddsWholeKibOfTheUninstaller) {
    EXPECT_EQ(estimated_size(667, 200'000), 862u);
    EXPECT_EQ(estimated_size(667, std::nullopt), 667u);
    EXPECT_EQ(estimated_size(667, 1023), 667u);
    EXPECT_EQ(estimated_size(667, 1024), 668u);
    EXPECT_EQ(estimated_size(667, std::uint64_t{70} << 20), 667u + 70u * 1024u) << "70 MiB";
    EXPECT_EQ(estimated_size(0xFFFFFFF0u, std::uint64_t{1} << 40), 0xFFFFFFFFu) << "saturates";
}

TEST(SetupRegistry, StringDataKeepsCharactersBeyondTheBasicPlane) {
    EXPECT_EQ(string_data("\xF0\x9F\x98\x80"),
              (std::vector<std::uint8_t>{0x3D, 0xD8, 0x00, 0xDE, 0, 0}))
        << "a character beyond U+FFFF is a surrogate pair";
}

TEST(SetupRemoval, TailIsVerbatimUnlessAPathCouldReachAnotherFolder) {
    constexpr char kSystem[] = "C:\\Windows\\System32";
    EXPECT_EQ(removal_command_tail("C:\\Users\\Zoé & Co (1)!\\Talvo", kSystem),
              "/d /v:off /c C:\\Windows\\System32\\ping.exe -n 3 127.0.0.1 >nul & rmdir /s /q "
              "\"C:\\Users\\Zoé & Co (1)!\\Talvo\"");
    EXPECT_TRUE(removal_command_tail("\\\\server\\share\\Talvo", kSystem).has_value());
    for (const char* folder :
         {"C:\\Users\\%USERNAME%\\Talvo", "C:\\Users\\a\" & rd \"C:\\x", "Programs\\Talvo",
          "C:Programs\\Talvo", "\\\\\\server\\share\\Talvo", ""}) {
        EXPECT_EQ(removal_command_tail(folder, kSystem), std::nullopt) << folder;
    }
    // The system folder is written unquoted: it must be one plain word, and
    // each character cmd.exe reads as a separator, operator or expansion stops it.
    for (const char c : std::string_view(" \t%\"&|<>^()!;,=")) {
        const std::string system = std::string("C:\\W") + c + "x\\System32";
        EXPECT_EQ(removal_command_tail("C:\\T", system), std::nullopt) << "'" << c << "'";
    }
    for (const char* system : {"System32", "", "C:"}) {
        EXPECT_EQ(removal_command_tail("C:\\T", system), std::nullopt) << system;
    }
    // Drives A to Z in either case, either separator; a whole drive is absolute.
    for (const char* folder : {"Z:\\Talvo", "a:/Talvo", "C:\\"}) {
        EXPECT_TRUE(removal_command_tail(folder, kSystem).has_value()) << folder;
    }
    EXPECT_TRUE(removal_command_tail("C:\\T", "Z:/Windows/System32").has_value());
    EXPECT_EQ(removal_command_tail("C:\\a\"b", kSystem), std::nullopt) << "a double quote";
}

// The write's retries as a sequence of attempt results, with the pauses between them.
TEST(SetupWriteRetry, RetriesOnlySharingViolationsTwentyTimes150MsApart) {
    constexpr std::uint32_t kAccessDenied = 5, kSharing = 32, kLock = 33, kMapped = 1224,
                            kPathNotFound = 3, kDiskFull = 112;
    const struct {
        const char* name;
        std::vector<std::uint32_t> results;  // one per attempt; written (0) after them
        int attempts;
        std::uint32_t outcome;
    } cases[] = {
        {"written at once", {}, 1, 0},
        {"held, then free", {kSharing, kLock, kMapped, kAccessDenied}, 5, 0},
        {"free on the 20th attempt", std::vector<std::uint32_t>(19, kSharing), 20, 0},
        {"held throughout", std::vector<std::uint32_t>(25, kSharing), 20, kSharing},
        {"no such folder", {kPathNotFound}, 1, kPathNotFound},
        {"held, then the disk is full", {kLock, kDiskFull}, 2, kDiskFull},
    };
    for (const auto& c : cases) {
        int attempts = 0;
        std::vector<std::chrono::milliseconds> pauses;
        const std::uint32_t outcome = write_with_retries(
            [&] {
                const auto at = static_cast<std::size_t>(attempts++);
                return at < c.results.size() ? c.results[at] : 0u;
            },
            [&](std::chrono::milliseconds pause) { pauses.push_back(pause); });
        EXPECT_EQ(outcome, c.outcome) << c.name;
        EXPECT_EQ(attempts, c.attempts) << c.name;
        EXPECT_EQ(pauses,
                  std::vector<std::chrono::milliseconds>(static_cast<std::size_t>(c.attempts - 1),
                                                         std::chrono::milliseconds(150)))
            << c.name;
    }
}

TEST(SetupLaunchers, OnlyLaunchersOfTheSetupsOwnSessionAreStopped) {
    const struct {
        const char* image;
        bool window;  // owns a launcher window on this desktop
        std::optional<std::uint32_t> session;
        std::optional<std::uint32_t> own;
        bool stopped;
    } cases[] = {
        {"talvo.exe", false, 1, 1, true},
        {"Talvo.EXE", false, 2, 2, true},
        {"talvo.exe", false, 0, 1, false},  // another user's, seen by an elevated setup
        {"talvo.exe", false, 2, 1, false},
        {"talvo.exe", false, std::nullopt, 1, false},  // not readable: not ours to end
        {"talvo.exe", false, std::nullopt, 0, false},
        {"talvo.exe", false, 1, std::nullopt, false},
        {"talvo.exe", false, 0, std::nullopt, false},
        {"notepad.exe", false, 1, 1, false},
        // An elevated launcher of this desktop: its session cannot be read.
        {"talvo.exe", true, std::nullopt, 1, true},
        {"TALVO.exe", true, std::nullopt, std::nullopt, true},
        {"talvo.exe", true, 1, 1, true},
        {"notepad.exe", true, std::nullopt, 1, false},  // another program's window of that class
    };
    for (const auto& c : cases) {
        EXPECT_EQ(is_launcher_to_stop(c.image, c.window, c.session, c.own), c.stopped)
            << c.image << (c.window ? " with a window " : " ") << c.session.value_or(99) << "/"
            << c.own.value_or(99);
    }
    EXPECT_EQ(kQuitRequestWait, std::chrono::seconds(2));
    EXPECT_EQ(kTerminateWait, std::chrono::seconds(3));
}

TEST(SetupLaunchers, AnElevatedSetupLeavesTheStartToTheDesktopShell) {
    using E = Elevation;
    using S = LauncherStart;
    const struct {
        Elevation setup;
        std::optional<Elevation> shell;
        LauncherStart start;
    } cases[] = {
        {E::Limited, E::Limited, S::Direct},    // a person's usual run
        {E::Default, std::nullopt, S::Direct},  // no split token: User Account Control off
        {E::Unknown, E::Limited, S::Direct},
        {E::Full, E::Limited, S::ThroughDesktopShell},  // "Run as administrator"
        {E::Full, E::Default, S::ThroughDesktopShell},
        {E::Full, E::Unknown, S::ThroughDesktopShell},
        {E::Full, E::Full, S::Direct},  // the shell is elevated too: same rights either way
        {E::Full, std::nullopt, S::NotStarted},  // no desktop shell to ask
    };
    for (const auto& c : cases) {
        EXPECT_EQ(launcher_start(c.setup, c.shell), c.start)
            << static_cast<int>(c.setup) << " " << static_cast<int>(c.shell.value_or(E::Unknown));
    }
    EXPECT_TRUE(asks_desktop_shell(E::Full));
    EXPECT_FALSE(asks_desktop_shell(E::Limited));
}

}  // namespace
}  // namespace talvo::setup
