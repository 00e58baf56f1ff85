// The popup gets out of the way: Escape and a click elsewhere hide it.
#include <gtest/gtest.h>

#include "launcher_fixture.h"
#include "polling.h"
#include "synthetic_input.h"

namespace talvo::e2e {
namespace {

using namespace std::chrono_literals;

using Visibility = LauncherTest;

// A plain window of the test program, to take the activation away from the popup.
class OtherWindow {
  public:
    OtherWindow() {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"TalvoE2eOtherWindow";
        RegisterClassW(&window_class);
        hwnd_ = CreateWindowExW(0, L"TalvoE2eOtherWindow", L"Autre fenêtre",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~OtherWindow() { DestroyWindow(hwnd_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_;
};

TEST_F(Visibility, EscapeHides) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    type_text(L"d");
    ASSERT_TRUE(wait_rows(6));
    press_key(VK_ESCAPE);
    EXPECT_TRUE(wait_hidden());
    EXPECT_TRUE(launcher_->running());
    EXPECT_TRUE(history().empty());
}

TEST_F(Visibility, ActivatingAnotherWindowHides) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    const OtherWindow other;
    ASSERT_NE(other.hwnd(), nullptr);
    SetForegroundWindow(other.hwnd());
    EXPECT_TRUE(wait_hidden());
    EXPECT_TRUE(launcher_->running());
}

TEST_F(Visibility, EnterWithoutRowsKeepsThePopup) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(wait_shown());
    press_key(VK_RETURN);
    EXPECT_TRUE(stays_false([&] { return IsWindowVisible(popup_) == FALSE; }, 400ms));
    EXPECT_FALSE(file_exists(data_file(L"history.tsv")) && !history().empty());
}

}  // namespace
}  // namespace talvo::e2e
