#include "message_box.h"

#include "launcher_process.h"
#include "polling.h"

namespace talvo::e2e {
namespace {

BOOL CALLBACK collect_static_text(HWND child, LPARAM text) {
    wchar_t class_name[32] = {};
    GetClassNameW(child, class_name, 32);
    if (_wcsicmp(class_name, L"Static") == 0) {
        wchar_t part[1024] = {};
        GetWindowTextW(child, part, 1024);
        *reinterpret_cast<std::wstring*>(text) += part;
    }
    return TRUE;
}

}  // namespace

HWND wait_talvo_box(DWORD process) {
    HWND box = nullptr;
    wait_until([&] {
        box = find_process_window(process, L"#32770", L"Talvo");
        return box != nullptr && IsWindowVisible(box);
    });
    return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

std::wstring message_box_text(HWND box) {
    std::wstring text;
    EnumChildWindows(box, collect_static_text, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool answer_box(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    return wait_until([&] { return !IsWindow(box); });
}

}  // namespace talvo::e2e
