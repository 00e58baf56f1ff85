#include "launcher_process.h"
#include "core/shell/launcher_protocol.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "patient_removal.h"
#include "polite_end.h"
#include "text_paths.h"

namespace talvo::e2e {
namespace {

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(towupper(c));
    }
    return text;
}

std::wstring variable_name(const std::wstring& entry) {
    // Entries such as "=C:=C:\..." start with '=': the name runs to the second one.
    const std::size_t equals = entry.find(L'=', 1);
    return upper(entry.substr(0, equals));
}

// This program's environment with APPDATA replaced, as a sorted Unicode block.
std::wstring environment_with_appdata(const std::wstring& appdata) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
            std::wstring text(entry);
            if (variable_name(text) != L"APPDATA") {
                entries.push_back(std::move(text));
            }
        }
        FreeEnvironmentStringsW(block);
    }
    entries.push_back(L"APPDATA=" + appdata);
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return variable_name(a) < variable_name(b);
    });
    std::wstring result;
    for (const std::wstring& entry : entries) {
        result += entry;
        result += L'\0';
    }
    result += L'\0';
    return result;
}

std::wstring class_of(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::wstring title_of(HWND hwnd) {
    wchar_t title[256] = {};
    GetWindowTextW(hwnd, title, 256);
    return title;
}

struct WindowQuery {
    DWORD id;  // 0: any process
    const wchar_t* class_name;
    const wchar_t* title;
    HWND found = nullptr;
};

BOOL CALLBACK match_window(HWND hwnd, LPARAM parameter) {
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (query->id != 0 && owner != query->id) {
        return TRUE;
    }
    if (class_of(hwnd) != query->class_name) {
        return TRUE;
    }
    if (query->title != nullptr && title_of(hwnd) != query->title) {
        return TRUE;
    }
    query->found = hwnd;
    return FALSE;
}

}  // namespace

ScratchAppData::ScratchAppData() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"talvo-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    testing::remove_patiently(path_);
    std::error_code ignored;
    std::filesystem::create_directories(path_, ignored);
}

ScratchAppData::~ScratchAppData() {
    testing::remove_patiently(path_);
}

std::wstring ScratchAppData::data_file(const wchar_t* name) const {
    return path_ + L"\\Talvo\\" + name;
}

std::unique_ptr<LauncherProcess> LauncherProcess::start(const std::wstring& appdata,
                                                        const std::wstring& arguments) {
    const std::wstring exe = talvo_exe_path();
    std::wstring command_line = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        command_line += L" " + arguments;
    }
    std::wstring environment = environment_with_appdata(appdata);
    // Detached: Wine would otherwise end a GUI child together with its console parent.
    std::optional<testing::ChildProcess> process = testing::ChildProcess::start(
        exe, std::move(command_line), environment.data(), appdata, DETACHED_PROCESS);
    if (!process) {
        return nullptr;
    }
    return std::unique_ptr<LauncherProcess>(new LauncherProcess(std::move(*process)));
}

namespace {

std::uint64_t creation_time(HANDLE process) {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Ends what the launcher started (the Explorer windows of its launches): a
// Windows child keeps the test runner's output pipe open until it exits.
// Process ids are reused, so a process that names the launcher's id as its
// parent but is older than the launcher (Wine's desktop, whose own parent
// ended long ago) is left alone.
void end_children(HANDLE parent) {
    const DWORD parent_id = GetProcessId(parent);
    const std::uint64_t parent_created = creation_time(parent);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE || parent_created == 0) {
        return;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parent_id) {
            continue;
        }
        const HANDLE child =
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                        entry.th32ProcessID);
        if (child == nullptr) {
            continue;
        }
        if (creation_time(child) >= parent_created) {
            testing::end_politely(child);
        }
        CloseHandle(child);
    }
    CloseHandle(snapshot);
}

// Asks the launcher to quit as the setup does (the quit request to its popup,
// or closing a preview's statistics window) and terminates it only when it
// stays: under Wine a terminated launcher has been seen to leave its popup's
// window on screen, blank, above every later popup of the run.
void end_launcher(HANDLE process, DWORD id) {
    if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT) {
        return;
    }
    if (const HWND popup = find_process_window(id, protocol::kWindowClass)) {
        PostMessageW(popup, protocol::kQuitRequestMessage, 0, 0);
    } else if (const HWND stats = find_process_window(id, protocol::kStatsWindowClass)) {
        PostMessageW(stats, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process, 3000) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
    }
}

}  // namespace

LauncherProcess::~LauncherProcess() {
    end_children(process_.handle());
    end_launcher(process_.handle(), process_.id());
    WaitForSingleObject(process_.handle(), 5000);
    // A launch that was starting a program when the first look ran leaves a
    // child behind; it still names the ended launcher as its parent.
    end_children(process_.handle());
}

HWND LauncherProcess::popup() const {
    return find_process_window(process_.id(), protocol::kWindowClass);
}

HWND LauncherProcess::stats_window() const {
    return find_process_window(process_.id(), protocol::kStatsWindowClass);
}

std::optional<std::size_t> LauncherProcess::private_bytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_.handle(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return std::nullopt;
    }
    return counters.PrivateUsage;
}

std::size_t LauncherProcess::committed_private_bytes() const {
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* address = nullptr;
    while (VirtualQueryEx(process_.handle(), address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return total;
}

HWND find_process_window(DWORD id, const wchar_t* class_name, const wchar_t* title) {
    WindowQuery query{id, class_name, title};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND any_talvo_window() {
    return find_process_window(0, protocol::kWindowClass);
}

}  // namespace talvo::e2e
