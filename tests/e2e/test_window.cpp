#include "test_window.h"

#include "launcher_process.h"
#include "polling.h"

namespace talvo::e2e {

TestWindow::TestWindow(const std::wstring& class_name, const std::wstring& title) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = class_name.c_str();
    RegisterClassW(&window_class);  // already registered by an earlier test: fine
    hwnd_ = CreateWindowExW(0, class_name.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100,
                            400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    pump_messages();
}

TestWindow::~TestWindow() {
    DestroyWindow(hwnd_);
    pump_messages();
}

void close_windows_of_class(const wchar_t* class_name) {
    wait_until(
        [&] {
            const HWND window = find_process_window(0, class_name);
            if (window != nullptr) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return window == nullptr;
        },
        std::chrono::milliseconds(3000));
}

}  // namespace talvo::e2e
