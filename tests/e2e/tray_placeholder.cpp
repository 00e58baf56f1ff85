// An icon of the test program's own in the notification area for the whole
// run. Under Wine without a panel the icons live in a small "Wine System Tray"
// window that appears with the first icon and takes the focus whenever its
// icons change, which would hide a popup shown at that moment. With this icon
// the window exists from the start, and it is kept minimised except in the
// tests of the icon itself (TrayDesk).
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "polling.h"
#include "tray_placeholder.h"

namespace talvo::e2e {
namespace {

class TrayPlaceholder : public ::testing::Environment {
  public:
    void SetUp() override {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"TalvoE2eTrayOwner";
        RegisterClassW(&window_class);
        owner_ = CreateWindowExW(0, window_class.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr,
                                 nullptr, window_class.hInstance, nullptr);
        NOTIFYICONDATAW data = icon_data();
        data.uFlags = NIF_ICON | NIF_TIP;
        data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wcscpy_s(data.szTip, L"talvo_e2e");
        Shell_NotifyIconW(NIM_ADD, &data);
        wait_until([] {
            const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
            return tray != nullptr && IsWindowVisible(tray);
        });
        set_tray_window_shown(false);
    }

    void TearDown() override {
        NOTIFYICONDATAW data = icon_data();
        Shell_NotifyIconW(NIM_DELETE, &data);
        DestroyWindow(owner_);
    }

  private:
    NOTIFYICONDATAW icon_data() const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = owner_;
        data.uID = 1;
        return data;
    }

    HWND owner_ = nullptr;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new TrayPlaceholder);

}  // namespace

void set_tray_window_shown(bool shown) {
    const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (tray == nullptr) {
        return;
    }
    ShowWindow(tray, shown ? SW_RESTORE : SW_MINIMIZE);
    wait_until([&] { return (IsIconic(tray) != FALSE) != shown; });
    if (shown) {
        // Restored, a window manager may centre it, where the statistics
        // window would then cover the icons: back to the top-left corner.
        SetWindowPos(tray, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        wait_until([&] {
            RECT placed{};
            return GetWindowRect(tray, &placed) && placed.left == 0 && placed.top == 0;
        });
    }
    Sleep(300);  // the window manager's focus change
}
}  // namespace talvo::e2e
