// A stand-in for a running launcher, built as "talvo.exe": a hidden window of
// the launcher's class that records, beside its own file, how it was started
// (arguments and current folder) and each quit request it receives. It quits
// on the request with status 3 (so that a test can tell this from being
// terminated), unless a file "ignore-quit" lies beside it. With a file
// "slow-start" beside it, its window appears only once the file whose path
// "slow-start" holds exists (at most 20 s later), as a launcher's appears
// some time after its start while it loads. With a file "guarded" beside it, it
// denies every other process access to itself, as an elevated launcher does
// to a setup without administrator rights: its session cannot be read and it
// cannot be ended, only waited for.
#include <windows.h>

#include <aclapi.h>
#include <shellapi.h>

#include <string>

#include "core/shell/launcher_protocol.h"

namespace {

constexpr int kQuitStatus = 3;

std::wstring own_folder() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    const std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L'\\'));
}

bool beside_me(const wchar_t* name) {
    return GetFileAttributesW((own_folder() + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Appends one line, in UTF-8, to record.txt beside this program.
void record(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    const HANDLE file = CreateFileW((own_folder() + L"\\record.txt").c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == talvo::protocol::kQuitRequestMessage) {
        record(L"quit request");
        if (!beside_me(L"ignore-quit")) {
            PostQuitMessage(kQuitStatus);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Waits until the file whose UTF-8 path `list` holds exists, at most 20 s.
void wait_for_the_file_named_in(const std::wstring& list) {
    const HANDLE file = CreateFileW(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char bytes[1024] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes - 1, &read, nullptr);
    CloseHandle(file);
    wchar_t path[1024] = {};
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(read), path, 1023);
    for (int i = 0; i < 2000 && GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(10);
    }
}

// An empty access list: nothing is granted to anyone but the handles that
// already exist (its creator's among them).
void deny_access_to_others() {
    ACL empty{};
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                    nullptr, &empty, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring line = L"start";
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        line += L" ";
        line += arguments[i];
    }
    LocalFree(arguments);
    wchar_t folder[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, folder);
    record(line + L" in " + folder);
    if (beside_me(L"guarded")) {
        deny_access_to_others();
    }
    if (beside_me(L"slow-start")) {
        wait_for_the_file_named_in(own_folder() + L"\\slow-start");
    }

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = talvo::protocol::kWindowClass;
    RegisterClassExW(&window_class);
    CreateWindowExW(WS_EX_TOOLWINDOW, talvo::protocol::kWindowClass, L"Talvo", WS_POPUP, 0, 0, 10,
                    10, nullptr, nullptr, instance, nullptr);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
