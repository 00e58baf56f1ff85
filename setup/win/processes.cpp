#include "setup/win/processes.h"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "core/shell/launcher_protocol.h"
#include "setup/core/failure_texts.h"
#include "setup/core/launcher_processes.h"
#include "setup/core/removal_command.h"
#include "setup/win/desktop_shell.h"
#include "setup/win/elevation.h"
#include "win/platform/system_error.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup::win {
namespace {

using talvo::win::narrow;
using talvo::win::unique_file;
using talvo::win::unique_handle;
using talvo::win::widen;

struct RunningLauncher {
    DWORD id = 0;
    unique_handle process;  // empty when the system lets it be neither waited for nor ended
};

std::optional<std::uint32_t> session_of(DWORD process_id) {
    DWORD session = 0;
    if (!ProcessIdToSessionId(process_id, &session)) {
        return std::nullopt;
    }
    return session;
}

bool is_launcher_window(HWND hwnd) {
    wchar_t class_name[32] = {};
    GetClassNameW(hwnd, class_name, 32);
    return wcscmp(class_name, protocol::kWindowClass) == 0;
}

BOOL CALLBACK add_launcher_window_owner(HWND hwnd, LPARAM parameter) {
    auto& owners = *reinterpret_cast<std::vector<DWORD>*>(parameter);
    DWORD owner = 0;
    if (is_launcher_window(hwnd) && GetWindowThreadProcessId(hwnd, &owner) != 0 &&
        std::find(owners.begin(), owners.end(), owner) == owners.end()) {
        owners.push_back(owner);
    }
    return TRUE;
}

// The processes owning a top-level window of the launcher's class on this desktop.
std::vector<DWORD> launcher_window_owners() {
    std::vector<DWORD> owners;
    EnumWindows(add_launcher_window_owner, reinterpret_cast<LPARAM>(&owners));
    return owners;
}

// Calls `visit(id, image name)` for each running process named as the launcher.
template <typename Visit>
void for_each_launcher_process(Visit visit) {
    // The snapshot's "no handle" value is INVALID_HANDLE_VALUE, as for files.
    const unique_file snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        const std::string image =
            narrow(std::wstring_view(entry.szExeFile, wcsnlen(entry.szExeFile, MAX_PATH)));
        if (is_launcher_image_name(image)) {
            visit(entry.th32ProcessID, image);
        }
    }
}

// The most this setup may do to a process: end it and wait for it, or (a
// launcher of higher integrity) only wait for it, or neither.
unique_handle open_to_stop(DWORD id) {
    unique_handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) {
        process.reset(OpenProcess(SYNCHRONIZE, FALSE, id));
    }
    return process;
}

// The launchers of this session, found through their windows first: the
// session of an elevated launcher cannot be read without administrator rights.
std::vector<RunningLauncher> launchers_to_stop() {
    const std::vector<DWORD> windowed = launcher_window_owners();
    const std::optional<std::uint32_t> own_session = session_of(GetCurrentProcessId());
    std::vector<RunningLauncher> launchers;
    for_each_launcher_process([&](DWORD id, const std::string& image) {
        const bool owns_window = std::find(windowed.begin(), windowed.end(), id) != windowed.end();
        // The session is read only for a launcher without a window.
        const std::optional<std::uint32_t> session = owns_window ? std::nullopt : session_of(id);
        if (is_launcher_to_stop(image, owns_window, session, own_session)) {
            launchers.push_back({id, open_to_stop(id)});
        }
    });
    return launchers;
}

struct QuitRequests {
    const std::vector<RunningLauncher>& launchers;
    std::vector<HWND> asked;  // each window is asked once
};

// Posts the quit request to each launcher window of the processes listed.
BOOL CALLBACK request_quit(HWND hwnd, LPARAM parameter) {
    auto& requests = *reinterpret_cast<QuitRequests*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    const bool listed =
        std::any_of(requests.launchers.begin(), requests.launchers.end(),
                    [&](const RunningLauncher& launcher) { return launcher.id == owner; });
    if (listed && is_launcher_window(hwnd) &&
        std::find(requests.asked.begin(), requests.asked.end(), hwnd) == requests.asked.end()) {
        PostMessageW(hwnd, protocol::kQuitRequestMessage, 0, 0);
        requests.asked.push_back(hwnd);
    }
    return TRUE;
}

bool still_runs(const RunningLauncher& launcher) {
    if (launcher.process) {
        return WaitForSingleObject(launcher.process.get(), 0) == WAIT_TIMEOUT;
    }
    // Without a handle its id is looked for among the running launchers.
    bool found = false;
    for_each_launcher_process(
        [&](DWORD id, const std::string&) { found = found || id == launcher.id; });
    return found;
}

// Waits up to `step` for the launcher to end, or just lets the time pass.
void wait_a_step(const RunningLauncher& launcher, DWORD step) {
    if (launcher.process) {
        WaitForSingleObject(launcher.process.get(), step);
    } else {
        Sleep(step);
    }
}

// Asks them to quit, looking again at each interval for the window of a
// launcher still starting, until all have ended or `total` has passed.
void ask_to_quit(const std::vector<RunningLauncher>& launchers, std::chrono::milliseconds total) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(total.count());
    QuitRequests requests{launchers, {}};
    for (auto running = std::find_if(launchers.begin(), launchers.end(), still_runs);
         running != launchers.end();
         running = std::find_if(launchers.begin(), launchers.end(), still_runs)) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return;
        }
        EnumWindows(request_quit, reinterpret_cast<LPARAM>(&requests));
        const auto step = static_cast<ULONGLONG>(kQuitRequestInterval.count());
        wait_a_step(*running, static_cast<DWORD>(std::min(step, deadline - now)));
    }
}

// Creates a process and lets go of it at once; 0 or the system's error code.
DWORD start_detached(const std::wstring& program, std::wstring command_line, DWORD flags,
                     const wchar_t* working_folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, flags,
                        nullptr, working_folder, &startup, &info)) {
        return GetLastError();
    }
    const unique_handle thread(info.hThread);
    const unique_handle process(info.hProcess);
    return ERROR_SUCCESS;
}

std::wstring system_folder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::wstring temporary_folder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

StepResult start_directly(const std::wstring& program, const std::wstring& folder) {
    // In the install folder, not the setup's: a USB stick or the folder of an
    // unpacked download can then be removed while the launcher runs.
    const DWORD error = start_detached(
        program, L"\"" + program + L"\" " + protocol::kHiddenSwitchWide, 0, folder.c_str());
    if (error != ERROR_SUCCESS) {
        return Failure{launch_failure(talvo::win::system_error_text(error))};
    }
    return Done{};
}

}  // namespace

void stop_running_launchers() {
    const std::vector<RunningLauncher> launchers = launchers_to_stop();
    if (launchers.empty()) {
        return;
    }
    ask_to_quit(launchers, kQuitRequestWait);
    for (const RunningLauncher& launcher : launchers) {
        // One that may only be waited for stays: the write of its file then
        // fails as for any program that holds it.
        if (launcher.process && still_runs(launcher) &&
            TerminateProcess(launcher.process.get(), 0)) {
            WaitForSingleObject(launcher.process.get(), static_cast<DWORD>(kTerminateWait.count()));
        }
    }
}

StepResult start_launcher(const InstallPaths& paths) {
    const std::wstring program = widen(paths.launcher);
    const std::wstring folder = widen(paths.folder);
    const Elevation setup = own_elevation();
    std::optional<DesktopShell> shell;
    std::optional<Elevation> shell_elevation;
    if (asks_desktop_shell(setup) && (shell = DesktopShell::find())) {
        shell_elevation = process_elevation(shell->process_id());
    }
    switch (launcher_start(setup, shell_elevation)) {
        case LauncherStart::Direct:
            return start_directly(program, folder);
        case LauncherStart::ThroughDesktopShell:
            // A refusal starts nothing: the Run value, when chosen, starts it at the next log-on.
            shell->start(program, protocol::kHiddenSwitchWide, folder);
            return Done{};
        case LauncherStart::NotStarted:
            return Done{};
    }
    return Done{};
}

void schedule_folder_removal(const std::string& install_folder) {
    const std::wstring system = system_folder();
    const std::optional<std::string> tail = removal_command_tail(install_folder, narrow(system));
    const std::wstring temporary = temporary_folder();
    if (!tail) {
        return;
    }
    const std::wstring cmd = system + L"\\cmd.exe";
    start_detached(cmd, L"cmd.exe " + widen(*tail), CREATE_NO_WINDOW,
                   temporary.empty() ? nullptr : temporary.c_str());
}

}  // namespace talvo::setup::win
