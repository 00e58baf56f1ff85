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

void close_windows_of_class(const wchar_t* class_name, std::chrono::milliseconds late) {
    const auto started = std::chrono::steady_clock::now();
    bool closed_one = false;
    wait_until(
        [&] {
            if (const HWND window = find_process_window(0, class_name)) {
                PostMessageW(window, WM_CLOSE, 0, 0);
                closed_one = true;
                return false;
            }
            return closed_one || std::chrono::steady_clock::now() - started >= late;
        },
        std::chrono::milliseconds(3000) + late);
}

}  // namespace talvo::e2e
