#include "setup_harness.h"

#include <objbase.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "patient_removal.h"
#include "polling.h"
#include "text_paths.h"
#include "win/platform/unique_resource.h"

namespace talvo::setup_e2e {
namespace {

using talvo::win::ComPtr;
using talvo::win::unique_file;
using talvo::win::unique_handle;
using talvo::win::unique_hkey;

constexpr CLSID kShellLinkClass = {
    0x00021401, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::wstring upper_name(const std::wstring& entry) {
    // Entries such as "=C:=C:\..." start with '=': the name runs to the second one.
    std::wstring name = entry.substr(0, entry.find(L'=', 1));
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

// This program's environment with the two profile variables set or left out.
std::wstring environment_for(const ScratchProfile& profile, Variables variables) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
            const std::wstring name = upper_name(entry);
            if (name != L"LOCALAPPDATA" && name != L"APPDATA") {
                entries.emplace_back(entry);
            }
        }
        FreeEnvironmentStringsW(block);
    }
    if (variables != Variables::NoLocalAppData) {
        entries.push_back(L"LOCALAPPDATA=" + profile.local);
    }
    if (variables != Variables::NoAppData) {
        entries.push_back(L"APPDATA=" + profile.roaming);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return upper_name(a) < upper_name(b); });
    std::wstring result;
    for (const std::wstring& entry : entries) {
        result += entry + L'\0';
    }
    return result + L'\0';
}

std::wstring window_text(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

struct BoxQuery {
    DWORD process;
    HWND previous;
    HWND found = nullptr;
};

BOOL CALLBACK match_box(HWND hwnd, LPARAM parameter) {
    auto* query = reinterpret_cast<BoxQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t class_name[16] = {};
    GetClassNameW(hwnd, class_name, 16);
    if (owner == query->process && hwnd != query->previous && IsWindowVisible(hwnd) &&
        std::wstring(class_name) == L"#32770") {
        query->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK match_visible(HWND hwnd, LPARAM parameter) {
    auto* query = reinterpret_cast<BoxQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == query->process && IsWindowVisible(hwnd)) {
        query->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::optional<std::wstring> image_of(DWORD id) {
    const unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        return std::nullopt;
    }
    return std::wstring(path, size);
}

BOOL CALLBACK match_icon_control(HWND hwnd, LPARAM parameter) {
    if ((GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(parameter) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The pixels of a bitmap as 32-bit values, top row first.
std::vector<std::uint32_t> pixels_of(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

}  // namespace

int box_icon(const Box& box) {
    HWND control = nullptr;
    EnumChildWindows(box.dialog, match_icon_control, reinterpret_cast<LPARAM>(&control));
    RECT rect{};
    if (control == nullptr || !GetWindowRect(control, &rect)) {
        return 0;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const HDC screen = GetDC(nullptr);
    const talvo::win::unique_hdc dc(CreateCompatibleDC(screen));
    const talvo::win::unique_hbitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    {
        const talvo::win::SelectObjectScope select(dc.get(), bitmap.get());
        BitBlt(dc.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    }
    ReleaseDC(nullptr, screen);
    const std::vector<std::uint32_t> shown = pixels_of(dc.get(), bitmap.get(), width, height);
    const std::uint32_t corner = shown.empty() ? 0 : shown[0];  // 0xRRGGBB
    const COLORREF background = RGB(corner >> 16 & 0xFF, corner >> 8 & 0xFF, corner & 0xFF);
    for (const int id : {32514, 32516, 32513, 32515}) {  // question, information, error, warning
        {
            const talvo::win::SelectObjectScope select(dc.get(), bitmap.get());
            const talvo::win::unique_hbrush brush(CreateSolidBrush(background));
            const RECT all{0, 0, width, height};
            FillRect(dc.get(), &all, brush.get());
            DrawIconEx(dc.get(), 0, 0, LoadIconW(nullptr, MAKEINTRESOURCEW(id)), 0, 0, 0, nullptr,
                       DI_NORMAL);
        }
        if (pixels_of(dc.get(), bitmap.get(), width, height) == shown) {
            return id;
        }
    }
    return 0;
}

std::wstring setup_exe_path() {
    return e2e::windows_path(TALVO_SETUP_EXE_PATH);
}

ScratchProfile::ScratchProfile() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"talvo-setup-e2e-" + std::to_wstring(GetCurrentProcessId()) +
           L"-" + std::to_wstring(counter++);
    local = root + L"\\Zoé Ærø\\AppData\\Local";
    roaming = root + L"\\Zoé Ærø\\AppData\\Roaming";
    install_folder = local + L"\\Programs\\Talvo";
    launcher = install_folder + L"\\talvo.exe";
    uninstaller = install_folder + L"\\uninstall.exe";
    shortcut = roaming + L"\\Microsoft\\Windows\\Start Menu\\Programs\\Talvo.lnk";
    data_folder = roaming + L"\\Talvo";
    testing::remove_patiently(root);
    std::error_code ignored;
    std::filesystem::create_directories(local, ignored);
    std::filesystem::create_directories(std::filesystem::path(shortcut).parent_path(), ignored);
}

ScratchProfile::~ScratchProfile() {
    end_processes_of(launcher);
    testing::remove_patiently(root);
}

std::unique_ptr<SetupProcess> SetupProcess::start(const ScratchProfile& profile,
                                                  const std::wstring& arguments,
                                                  Variables variables, const std::wstring& exe,
                                                  const std::wstring& folder) {
    std::wstring command_line = L"\"" + exe + L"\" " + arguments;
    std::wstring environment = environment_for(profile, variables);
    // Detached: Wine would otherwise end a GUI child together with its console parent.
    std::optional<testing::ChildProcess> process =
        testing::ChildProcess::start(exe, std::move(command_line), environment.data(),
                                     folder.empty() ? profile.root : folder, DETACHED_PROCESS);
    if (!process) {
        return nullptr;
    }
    return std::unique_ptr<SetupProcess>(new SetupProcess(std::move(*process)));
}

std::optional<Box> wait_for_box(DWORD process, HWND previous) {
    BoxQuery query{process, previous};
    if (!e2e::wait_until([&] {
            EnumWindows(match_box, reinterpret_cast<LPARAM>(&query));
            return query.found != nullptr;
        })) {
        return std::nullopt;
    }
    Box box;
    box.dialog = query.found;
    box.caption = window_text(box.dialog);
    box.text = window_text(GetDlgItem(box.dialog, 0xFFFF));  // the message's static control
    for (const int button : {IDOK, IDYES, IDNO, IDCANCEL}) {
        const HWND control = GetDlgItem(box.dialog, button);
        if (control != nullptr && IsWindowVisible(control)) {
            box.buttons.push_back(button);
        }
    }
    box.in_foreground = e2e::wait_until([&] { return GetForegroundWindow() == box.dialog; });
    // The icon is compared once the box has painted it, which can take a while
    // on a loaded machine.
    e2e::wait_until([&] { return (box.icon = box_icon(box)) != 0; });
    return box;
}

void press(const Box& box, int button) {
    SendMessageW(GetDlgItem(box.dialog, button), BM_CLICK, 0, 0);
}

bool shows_a_window_until_exit(const SetupProcess& process) {
    BoxQuery query{process.id(), nullptr};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!process.wait_for_exit(std::chrono::milliseconds(0)) &&
           std::chrono::steady_clock::now() < deadline) {
        EnumWindows(match_visible, reinterpret_cast<LPARAM>(&query));
        if (query.found != nullptr) {
            return true;
        }
        Sleep(2);
    }
    return false;
}

std::optional<std::string> file_bytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<RegistryValue> registry_value(const wchar_t* key, const wchar_t* name) {
    RegistryValue value;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                     value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<DWORD> value_count(const wchar_t* key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const unique_hkey opened(raw);
    DWORD count = 0;
    RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    return count;
}

RegistryValue string_value(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    return {REG_SZ, std::vector<std::uint8_t>(bytes, bytes + (text.size() + 1) * 2)};
}

RegistryValue dword_value(DWORD value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    return {REG_DWORD, std::vector<std::uint8_t>(bytes, bytes + 4)};
}

void clean_registry() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Talvo");
}

RegistryScope::RegistryScope() : previous_run_value_(registry_value(kRunKey, L"Talvo")) {
    clean_registry();
}

RegistryScope::~RegistryScope() {
    clean_registry();
    if (previous_run_value_) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Talvo", previous_run_value_->type,
                        previous_run_value_->data.data(),
                        static_cast<DWORD>(previous_run_value_->data.size()));
    }
}

std::optional<Shortcut> read_shortcut(const std::wstring& path) {
    const talvo::win::ComApartment apartment;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IShellLinkW), link.put_void()))) {
        return std::nullopt;
    }
    ComPtr<IPersistFile> file = link.query<IPersistFile>();
    if (!file || FAILED(file->Load(path.c_str(), STGM_READ))) {
        return std::nullopt;
    }
    wchar_t text[4][MAX_PATH * 2] = {};
    Shortcut shortcut;
    link->GetPath(text[0], MAX_PATH * 2, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(text[1], MAX_PATH * 2);
    link->GetDescription(text[2], MAX_PATH * 2);
    link->GetArguments(text[3], MAX_PATH * 2);
    wchar_t icon[MAX_PATH * 2] = {};
    link->GetIconLocation(icon, MAX_PATH * 2, &shortcut.icon_index);
    shortcut.target = text[0];
    shortcut.working_folder = text[1];
    shortcut.description = text[2];
    shortcut.arguments = text[3];
    shortcut.icon_file = icon;
    return shortcut;
}

std::vector<DWORD> processes_of(const std::wstring& image_path) {
    std::vector<DWORD> ids;
    const unique_file snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        const std::optional<std::wstring> image = image_of(entry.th32ProcessID);
        if (image &&
            CompareStringOrdinal(image->c_str(), -1, image_path.c_str(), -1, TRUE) == CSTR_EQUAL) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

void end_processes_of(const std::wstring& image_path) {
    for (const DWORD id : processes_of(image_path)) {
        const unique_handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 5000);
        }
    }
}

void SetupTest::TearDown() {
    end_processes_of(profile_.launcher);
}

std::optional<DWORD> SetupTest::run(const std::wstring& arguments, Variables variables,
                                    const std::wstring& exe) {
    const auto setup = SetupProcess::start(profile_, arguments, variables, exe);
    if (!setup) {
        return std::nullopt;
    }
    return setup->wait_for_exit(std::chrono::seconds(20));
}

}  // namespace talvo::setup_e2e
