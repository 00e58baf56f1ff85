// Both windows follow the system's theme: a high-contrast theme switched on or
// off, or its colours changed, repaints them in the palette it calls for.
#include <gtest/gtest.h>

#include <windows.h>

#include "popup_test_state.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

bool high_contrast_on = false;
bool high_contrast_probe() {
    return high_contrast_on;
}

void pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

COLORREF screen_pixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The pixel once the screen shows what the window painted last.
COLORREF settled_pixel(HWND window, int x, int y, COLORREF expected) {
    for (int i = 0; i < 50 && screen_pixel(window, x, y) != expected; ++i) {
        pump();
        Sleep(10);
    }
    return screen_pixel(window, x, y);
}

constexpr COLORREF colour_ref(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

struct Expected {
    COLORREF popup_edge, popup_background, query_frame, band, stats_background;
};

Expected dark_colours() {
    const Palette& dark = dark_palette();
    return {colour_ref(dark.popup.background), colour_ref(dark.popup.background),
            colour_ref(dark.popup.query_box), colour_ref(dark.popup.accent),
            colour_ref(dark.stats.background)};
}

Expected high_contrast_colours() {
    return {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
            GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW)};
}

// Each of the three messages a theme change brings, in turn switching the
// theme on and off; every window repaints on its own message.
TEST(Theme, BothWindowsRepaintInTheThemeEachChangeCallsFor) {
    high_contrast_on = false;
    TestLauncher test("d", 3, 40);
    test.ui().theme.set_high_contrast_probe(high_contrast_probe);
    const HWND popup = test.hwnd();
    ASSERT_NE(popup, nullptr);
    SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    test.stats().open();
    pump();
    const HWND stats = test.stats().hwnd();
    ASSERT_NE(stats, nullptr);
    // The statistics window under the popup's top-right, the popup in front.
    SetWindowPos(stats, HWND_NOTOPMOST, 760, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    pump();

    const struct {
        UINT message;
        WPARAM wparam;
        bool high_contrast;
    } changes[] = {
        {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true},
        {WM_SYSCOLORCHANGE, 0, false},
        {WM_THEMECHANGED, 0, true},
        {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, false},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(::testing::Message() << "message " << std::hex << change.message
                                          << (change.high_contrast ? ", contrast on" : ", off"));
        high_contrast_on = change.high_contrast;
        SendMessageW(popup, change.message, change.wparam, 0);
        SendMessageW(stats, change.message, change.wparam, 0);
        const Expected expected = change.high_contrast ? high_contrast_colours() : dark_colours();
        EXPECT_EQ(settled_pixel(popup, 0, 43, expected.popup_edge), expected.popup_edge);
        EXPECT_EQ(settled_pixel(popup, 5, 43, expected.popup_background),
                  expected.popup_background);
        EXPECT_EQ(settled_pixel(popup, 12, 43, expected.query_frame), expected.query_frame);
        EXPECT_EQ(settled_pixel(popup, 400, 136, expected.band), expected.band)
            << "the first row's band, selected";
        EXPECT_EQ(settled_pixel(stats, 440, 520, expected.stats_background),
                  expected.stats_background);
    }
    DestroyWindow(stats);
    pump();
}

}  // namespace
}  // namespace talvo::win
