// Silent installs and what they leave: the files, the shortcut, the uninstall
// entry, the Run value and a hidden launcher; installing again, from the
// installed uninstaller too; and the failures that stop an install.
#include <filesystem>
#include <set>
#include <thread>

#include "core/shell/launcher_protocol.h"
#include "launcher_process.h"
#include "patient_removal.h"
#include "polling.h"
#include "setup_harness.h"
#include "text_paths.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup_e2e {
namespace {

using namespace std::chrono_literals;

std::set<std::wstring> names_in(const std::wstring& folder) {
    std::set<std::wstring> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        names.insert(entry.path().filename().wstring());
    }
    return names;
}

DWORD kib_of(const std::wstring& path) {
    return static_cast<DWORD>(std::filesystem::file_size(path) / 1024);
}

bool launcher_running_hidden(const std::wstring& launcher) {
    HWND popup = nullptr;
    const bool started = e2e::wait_until([&] {
        const std::vector<DWORD> ids = processes_of(launcher);
        popup =
            ids.size() == 1 ? e2e::find_process_window(ids[0], protocol::kWindowClass) : nullptr;
        return popup != nullptr;
    });
    return started && e2e::stays_false([&] { return IsWindowVisible(popup) != FALSE; }, 500ms);
}

using Install = SetupTest;

TEST_F(Install, SilentInstallLeavesTheFootprintAndAHiddenLauncherWithoutAWindow) {
    const auto setup = SetupProcess::start(profile_, L"/S");
    ASSERT_NE(setup, nullptr);
    EXPECT_FALSE(shows_a_window_until_exit(*setup));
    EXPECT_EQ(setup->wait_for_exit(0ms), std::optional<DWORD>(0));

    EXPECT_EQ(file_bytes(profile_.launcher), file_bytes(e2e::talvo_exe_path()));
    EXPECT_EQ(file_bytes(profile_.uninstaller), file_bytes(setup_exe_path()));

    const std::optional<Shortcut> shortcut = read_shortcut(profile_.shortcut);
    ASSERT_TRUE(shortcut.has_value());
    EXPECT_EQ(shortcut->target, profile_.launcher);
    EXPECT_EQ(shortcut->working_folder, profile_.install_folder);
    EXPECT_EQ(shortcut->description, L"Lanceur d'applications (Alt+Espace)");
    EXPECT_EQ(shortcut->arguments, L"");
    EXPECT_EQ(shortcut->icon_file, profile_.launcher);
    EXPECT_EQ(shortcut->icon_index, 0);

    const std::wstring quoted_uninstaller = L"\"" + profile_.uninstaller + L"\"";
    const struct {
        const wchar_t* name;
        RegistryValue value;
    } entry[] = {
        {L"DisplayName", string_value(L"Talvo")},
        {L"DisplayVersion", string_value(L"0.1.0")},
        {L"Publisher", string_value(L"Quenlor")},
        {L"DisplayIcon", string_value(profile_.launcher + L",0")},
        {L"InstallLocation", string_value(profile_.install_folder)},
        {L"UninstallString", string_value(quoted_uninstaller + L" /uninstall")},
        {L"QuietUninstallString", string_value(quoted_uninstaller + L" /uninstall /S")},
        {L"EstimatedSize", dword_value(kib_of(e2e::talvo_exe_path()) + kib_of(setup_exe_path()))},
        {L"NoModify", dword_value(1)},
        {L"NoRepair", dword_value(1)},
    };
    EXPECT_EQ(value_count(kUninstallKey), std::optional<DWORD>(std::size(entry)));
    for (const auto& value : entry) {
        const std::optional<RegistryValue> found = registry_value(kUninstallKey, value.name);
        ASSERT_TRUE(found.has_value()) << e2e::utf8(value.name);
        EXPECT_EQ(found->type, value.value.type) << e2e::utf8(value.name);
        EXPECT_EQ(found->data, value.value.data) << e2e::utf8(value.name);
    }
    const std::optional<RegistryValue> run = registry_value(kRunKey, L"Talvo");
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(run->data, string_value(L"\"" + profile_.launcher + L"\" --hidden").data);

    EXPECT_TRUE(launcher_running_hidden(profile_.launcher));
}

TEST_F(Install, InstallingTwiceReplacesRunningLaunchersAndLeavesOneOfEach) {
    // A launcher of the same file name started from elsewhere is stopped too.
    const auto elsewhere = e2e::LauncherProcess::start(profile_.roaming, L"--hidden");
    ASSERT_NE(elsewhere, nullptr);
    ASSERT_TRUE(e2e::wait_until([&] { return elsewhere->popup() != nullptr; }));
    ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
    EXPECT_TRUE(elsewhere->wait_for_exit(e2e::kWait).has_value());
    ASSERT_TRUE(launcher_running_hidden(profile_.launcher));
    const std::vector<DWORD> first = processes_of(profile_.launcher);

    ASSERT_EQ(run(L"--silent"), std::optional<DWORD>(0));
    ASSERT_TRUE(launcher_running_hidden(profile_.launcher));
    EXPECT_NE(processes_of(profile_.launcher), first) << "the first launcher was replaced";
    EXPECT_EQ(names_in(profile_.install_folder),
              (std::set<std::wstring>{L"talvo.exe", L"uninstall.exe"}));
    EXPECT_EQ(names_in(std::filesystem::path(profile_.shortcut).parent_path().wstring()),
              std::set<std::wstring>{L"Talvo.lnk"});
    EXPECT_EQ(value_count(kUninstallKey), std::optional<DWORD>(10));
    EXPECT_EQ(file_bytes(profile_.launcher), file_bytes(e2e::talvo_exe_path()));
}

TEST_F(Install, InstalledUninstallerWithoutSwitchReinstallsUnderAnySpelling) {
    ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
    std::wstring other_spelling = profile_.uninstaller;
    CharUpperBuffW(other_spelling.data(), static_cast<DWORD>(other_spelling.size()));

    EXPECT_EQ(run(L"/S", Variables::Both, other_spelling), std::optional<DWORD>(0));
    EXPECT_EQ(file_bytes(profile_.uninstaller), file_bytes(setup_exe_path()));
    EXPECT_TRUE(launcher_running_hidden(profile_.launcher));
}

void expect_nothing_registered(const ScratchProfile& profile) {
    EXPECT_FALSE(exists(profile.shortcut));
    EXPECT_EQ(value_count(kUninstallKey), std::nullopt);
    EXPECT_EQ(registry_value(kRunKey, L"Talvo"), std::nullopt);
}

TEST_F(Install, MissingVariableStopsWithItsTextAndTheNextInstallSucceeds) {
    const struct {
        Variables variables;
        int questions_before;  // answered Yes before the failure
        const wchar_t* text;
    } cases[] = {
        {Variables::NoLocalAppData, 0, L"variable LOCALAPPDATA introuvable"},
        {Variables::NoAppData, 2, L"variable APPDATA introuvable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(e2e::utf8(c.text));
        const auto setup = SetupProcess::start(profile_, L"", c.variables);
        ASSERT_NE(setup, nullptr);
        std::optional<Box> box;
        for (int i = 0; i <= c.questions_before; ++i) {
            if (box) {
                press(*box, IDYES);
            }
            box = wait_for_box(setup->id(), box ? box->dialog : nullptr);
            ASSERT_TRUE(box.has_value());
        }
        EXPECT_EQ(box->text, std::wstring(L"Une erreur est survenue :\n\n") + c.text);
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box->icon, 32513) << "IDI_ERROR";
        press(*box, IDOK);
        EXPECT_EQ(setup->wait_for_exit(e2e::kWait), std::optional<DWORD>(1));
        expect_nothing_registered(profile_);
        end_processes_of(profile_.launcher);

        ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
        EXPECT_EQ(file_bytes(profile_.launcher), file_bytes(e2e::talvo_exe_path()));
        EXPECT_TRUE(exists(profile_.shortcut));
        end_processes_of(profile_.launcher);  // it may be reading the new shortcut
        testing::remove_patiently(profile_.shortcut);
        clean_registry();
    }
}

// The retries really pause: a file another program lets go of about a second
// after the setup started (within the 20 attempts 150 ms apart) is written.
TEST_F(Install, ALauncherFileReleasedDuringTheRetriesIsWritten) {
    std::filesystem::create_directories(profile_.install_folder);
    talvo::win::unique_file held(CreateFileW(profile_.launcher.c_str(),
                                             GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    const auto setup = SetupProcess::start(profile_, L"/S");
    ASSERT_NE(setup, nullptr);
    std::thread release([&] {
        Sleep(1000);
        held.reset();
    });
    const std::optional<DWORD> status = setup->wait_for_exit(20s);
    release.join();
    EXPECT_EQ(status, std::optional<DWORD>(0));
    EXPECT_EQ(file_bytes(profile_.launcher), file_bytes(e2e::talvo_exe_path()));
    EXPECT_TRUE(exists(profile_.shortcut));
}

// The retries themselves (how many, how far apart, which failures) are the
// core's, tested natively; here the outcome a user sees.
TEST_F(Install, LockedLauncherFailsAfterTheRetriesWithNothingRegistered) {
    std::filesystem::create_directories(profile_.install_folder);
    // Held without sharing for the whole test, as another program might.
    const talvo::win::unique_file held(CreateFileW(profile_.launcher.c_str(),
                                                   GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);

    const auto setup = SetupProcess::start(profile_, L"");
    ASSERT_NE(setup, nullptr);
    const std::optional<Box> install = wait_for_box(setup->id());
    ASSERT_TRUE(install.has_value());
    press(*install, IDYES);
    const std::optional<Box> autostart = wait_for_box(setup->id(), install->dialog);
    ASSERT_TRUE(autostart.has_value());
    press(*autostart, IDYES);
    const std::optional<Box> failure = wait_for_box(setup->id(), autostart->dialog);
    ASSERT_TRUE(failure.has_value());
    const std::wstring start =
        L"Une erreur est survenue :\n\nécriture de " + profile_.launcher + L" : ";
    EXPECT_EQ(failure->text.substr(0, start.size()), start);
    EXPECT_GT(failure->text.size(), start.size()) << "with the system's message";
    press(*failure, IDOK);
    EXPECT_EQ(setup->wait_for_exit(e2e::kWait), std::optional<DWORD>(1));
    expect_nothing_registered(profile_);

    const auto silent = SetupProcess::start(profile_, L"/S");
    ASSERT_NE(silent, nullptr);
    EXPECT_FALSE(shows_a_window_until_exit(*silent));
    EXPECT_EQ(silent->wait_for_exit(0ms), std::optional<DWORD>(1));
    expect_nothing_registered(profile_);
}

}  // namespace
}  // namespace talvo::setup_e2e
