#include "setup/win/processes.h"

#include <windows.h>

#include <tlhelp32.h>

#include "setup/core/failure_texts.h"
#include "setup/core/paths.h"
#include "setup/core/removal_command.h"
#include "win/platform/system_error.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup::win {
namespace {

using talvo::win::unique_file;
using talvo::win::unique_handle;
using talvo::win::widen;

constexpr DWORD kStopWaitMs = 3000;

void stop_process(DWORD id) {
    const unique_handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) {
        return;
    }
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), kStopWaitMs);
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

}  // namespace

void stop_running_launchers() {
    // The snapshot's "no handle" value is INVALID_HANDLE_VALUE, as for files.
    const unique_file snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        const std::wstring_view image(entry.szExeFile, wcsnlen(entry.szExeFile, MAX_PATH));
        if (is_launcher_image_name(talvo::win::narrow(image))) {
            stop_process(entry.th32ProcessID);
        }
    }
}

StepResult start_launcher(const std::string& launcher_path) {
    const std::wstring program = widen(launcher_path);
    const DWORD error = start_detached(program, L"\"" + program + L"\" --hidden", 0, nullptr);
    if (error != ERROR_SUCCESS) {
        return Failure{launch_failure(talvo::win::system_error_text(error))};
    }
    return Done{};
}

void schedule_folder_removal(const std::string& install_folder) {
    const std::optional<std::string> tail = removal_command_tail(install_folder);
    const std::wstring system = system_folder();
    const std::wstring temporary = temporary_folder();
    if (!tail || system.empty()) {
        return;
    }
    const std::wstring cmd = system + L"\\cmd.exe";
    start_detached(cmd, L"cmd.exe " + widen(*tail), CREATE_NO_WINDOW,
                   temporary.empty() ? nullptr : temporary.c_str());
}

}  // namespace talvo::setup::win
