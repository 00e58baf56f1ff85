// Handing over to a new launcher: a running launcher is asked to quit and ends
// by itself with its icon gone; an install asks every running launcher (a
// stand-in records the request) and terminates one that ignores it; the new
// launcher keeps no hold on the folder the setup ran from; and the desktop's
// shell, which an elevated setup asks instead, starts a program as asked.
#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "core/shell/launcher_protocol.h"
#include "launcher_process.h"
#include "patient_removal.h"
#include "polling.h"
#include "setup/win/desktop_shell.h"
#include "setup_harness.h"
#include "text_paths.h"
#include "tray_icon_probe.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup_e2e {
namespace {

using namespace std::chrono_literals;

constexpr DWORD kQuitByItself = 3;  // the stand-in's status when it quits on the request

// A copy of the stand-in as "talvo.exe" in a folder of its own, where it
// records how it was started and the quit requests it received.
class StandIn {
  public:
    StandIn(const std::wstring& folder, bool ignores_quit, bool slow_start = false,
            bool guarded = false)
        : folder_(folder), exe_(folder + L"\\talvo.exe") {
        std::filesystem::create_directories(folder_);
        std::filesystem::copy_file(e2e::windows_path(TALVO_STANDIN_EXE_PATH), exe_,
                                   std::filesystem::copy_options::overwrite_existing);
        if (ignores_quit) {
            std::ofstream(std::filesystem::path(folder_ + L"\\ignore-quit"));
        }
        if (slow_start) {
            // The window waits for this file, which the test makes when it wants.
            std::ofstream(std::filesystem::path(folder_ + L"\\slow-start"))
                << e2e::utf8(window_trigger());
        }
        if (guarded) {
            std::ofstream(std::filesystem::path(folder_ + L"\\guarded"));
        }
    }
    ~StandIn() {
        // A guarded one can be ended only through the handle of its start.
        if (process_) {
            process_->terminate(1);
        }
        end_processes_of(exe_);
    }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    const std::wstring& exe() const { return exe_; }
    // Lets a slow-starting stand-in make its window.
    std::wstring window_trigger() const { return folder_ + L"\\window-now"; }
    void let_the_window_appear() const { std::ofstream(std::filesystem::path(window_trigger())); }
    const std::wstring& folder() const { return folder_; }
    std::string record() const { return file_bytes(folder_ + L"\\record.txt").value_or(""); }

    // Starts it as a user's launcher runs, hidden; with `wait`, until its window exists.
    bool start(bool wait = true) {
        process_ =
            testing::ChildProcess::start(exe_, L"\"" + exe_ + L"\" --hidden", nullptr, folder_, 0);
        return process_ && (!wait || e2e::wait_until([&] {
                   return e2e::find_process_window(process_->id(), protocol::kWindowClass) !=
                          nullptr;
               }));
    }

    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout) const {
        return process_ ? process_->wait_for_exit(timeout) : std::nullopt;
    }

  private:
    std::wstring folder_;
    std::wstring exe_;
    std::optional<testing::ChildProcess> process_;
};

TEST(QuitRequest, TheLauncherEndsByItselfWithStatusZeroAndItsIconGoes) {
    const e2e::ScratchAppData appdata;
    const auto launcher = e2e::LauncherProcess::start(appdata.path(), L"--hidden");
    ASSERT_NE(launcher, nullptr);
    HWND popup = nullptr;
    ASSERT_TRUE(e2e::wait_until([&] { return (popup = launcher->popup()) != nullptr; }));
    ASSERT_TRUE(e2e::wait_until([&] { return testing::tray_icon_present(popup); }))
        << "no tray icon";
    PostMessageW(popup, talvo::protocol::kQuitRequestMessage, 0, 0);
    EXPECT_EQ(launcher->wait_for_exit(e2e::kWait), std::optional<DWORD>(0));
    EXPECT_FALSE(testing::tray_icon_present(popup));
}

using Handover = SetupTest;

TEST_F(Handover, InstallAsksRunningLaunchersToQuitAndTerminatesOnlyThoseThatStay) {
    const struct {
        const char* name;
        bool ignores_quit;
        DWORD status;  // the stand-in's own, or 0 from its termination
    } cases[] = {
        {"quits on the request", false, kQuitByItself},
        {"ignores the request", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandIn standin(profile_.root + L"\\Ailleurs " + e2e::wide(c.name), c.ignores_quit);
        ASSERT_TRUE(standin.start());
        ASSERT_EQ(run(L"/S"), std::optional<DWORD>(0));
        EXPECT_EQ(standin.wait_for_exit(e2e::kWait), std::optional<DWORD>(c.status));
        EXPECT_EQ(standin.record(),
                  "start --hidden in " + e2e::utf8(standin.folder()) + "\nquit request\n");
        EXPECT_EQ(processes_of(profile_.launcher).size(), 1u) << "the new launcher runs";
    }
}

// A launcher still starting has no window yet when the setup first looks:
// its window appears only after the setup has asked another launcher, found
// in that first look, so the setup must look again to ask it.
TEST_F(Handover, ALauncherThatShowsItsWindowLaterIsAskedToo) {
    StandIn first(profile_.root + L"\\Premier", false);
    StandIn later(profile_.root + L"\\Plus tard", false, true);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(later.start(false));
    const auto setup = SetupProcess::start(profile_, L"/S");
    ASSERT_NE(setup, nullptr);
    const std::string asked = "start --hidden in " + e2e::utf8(first.folder()) + "\nquit request\n";
    ASSERT_TRUE(e2e::wait_until([&] { return first.record() == asked; })) << first.record();
    later.let_the_window_appear();
    EXPECT_EQ(setup->wait_for_exit(20s), std::optional<DWORD>(0));
    EXPECT_EQ(later.wait_for_exit(e2e::kWait), std::optional<DWORD>(kQuitByItself))
        << "asked, not terminated";
    EXPECT_EQ(later.record(),
              "start --hidden in " + e2e::utf8(later.folder()) + "\nquit request\n");
}

// An elevated launcher, as a setup without administrator rights sees it: its
// session cannot be read and it cannot be ended. Found by its window, it is
// asked to quit; when it stays, the install fails on its file and writes nothing.
TEST_F(Handover, ALauncherWhoseSessionCannotBeReadIsAskedThroughItsWindow) {
    const struct {
        const char* name;
        bool ignores_quit;
        DWORD setup_status;
    } cases[] = {
        {"quits on the request", false, 0},
        {"stays", true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandIn standin(profile_.install_folder, c.ignores_quit, false, true);
        ASSERT_TRUE(standin.start());
        const std::optional<std::string> standin_bytes = file_bytes(profile_.launcher);
        ASSERT_EQ(run(L"/S"), std::optional<DWORD>(c.setup_status));
        EXPECT_EQ(standin.record(),
                  "start --hidden in " + e2e::utf8(standin.folder()) + "\nquit request\n");
        if (c.ignores_quit) {
            EXPECT_EQ(file_bytes(profile_.launcher), standin_bytes) << "left whole";
            EXPECT_FALSE(exists(profile_.uninstaller));
            EXPECT_FALSE(exists(profile_.shortcut));
            EXPECT_FALSE(registry_value(kUninstallKey, L"DisplayName").has_value());
        } else {
            EXPECT_EQ(standin.wait_for_exit(e2e::kWait), std::optional<DWORD>(kQuitByItself));
            EXPECT_EQ(file_bytes(profile_.launcher), file_bytes(e2e::talvo_exe_path()));
            EXPECT_EQ(processes_of(profile_.launcher).size(), 1u) << "the new launcher runs";
            end_processes_of(profile_.launcher);
            testing::remove_patiently(profile_.install_folder);
            testing::remove_patiently(profile_.shortcut);
            clean_registry();
        }
    }
}

TEST_F(Handover, TheFolderTheSetupRanFromCanBeRemovedWhileTheLauncherRuns) {
    const std::wstring downloads = profile_.root + L"\\Téléchargements";
    std::filesystem::create_directories(downloads);
    const std::wstring setup_copy = downloads + L"\\Talvo-Setup.exe";
    std::filesystem::copy_file(setup_exe_path(), setup_copy);
    {
        const auto setup =
            SetupProcess::start(profile_, L"/S", Variables::Both, setup_copy, downloads);
        ASSERT_NE(setup, nullptr);
        ASSERT_EQ(setup->wait_for_exit(20s), std::optional<DWORD>(0));
    }
    ASSERT_TRUE(e2e::wait_until([&] { return processes_of(profile_.launcher).size() == 1; }));
    // Wine lets go of an ended program's file a moment after its end.
    std::error_code error;
    EXPECT_TRUE(e2e::wait_until([&] {
        std::filesystem::remove_all(downloads, error);
        return !error;
    })) << error.message();
    EXPECT_FALSE(exists(downloads));
    EXPECT_EQ(processes_of(profile_.launcher).size(), 1u);
}

TEST_F(Handover, TheDesktopShellStartsAProgramWithItsArgumentsInTheFolderGiven) {
    const talvo::win::ComApartment apartment;
    const StandIn standin(profile_.root + L"\\Programme à lancer", false);
    const std::optional<talvo::setup::win::DesktopShell> shell =
        talvo::setup::win::DesktopShell::find();
    ASSERT_TRUE(shell.has_value());
    EXPECT_NE(shell->process_id(), 0u);
    const std::wstring folder = profile_.install_folder;
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(shell->start(standin.exe(), L"--hidden", folder));
    const std::string expected = "start --hidden in " + e2e::utf8(folder) + "\n";
    EXPECT_TRUE(e2e::wait_until([&] { return standin.record() == expected; })) << standin.record();
}

}  // namespace
}  // namespace talvo::setup_e2e
