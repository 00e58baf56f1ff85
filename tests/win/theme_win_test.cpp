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

// The pixel once the screen shows what the window painted last.
COLORREF settled_pixel(HWND window, int x, int y, COLORREF expected) {
    for (int i = 0; i < 50 && client_pixel(window, x, y) != expected; ++i) {
        pump();
        Sleep(10);
    }
    return client_pixel(window, x, y);
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

constexpr SystemColours kWhiteOnBlack{0x000000, 0xFFFFFF, 0x1AEBFF, 0x000000, 0x3FF23F};
constexpr SystemColours kBlackOnWhite{0xFFFFFF, 0x000000, 0x37006E, 0xFFFFFF, 0x600000};

constexpr int kThemeElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
                                  COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT};

void set_system_colours(const SystemColours& colours) {
    const COLORREF values[] = {colour_ref(colours.window), colour_ref(colours.window_text),
                               colour_ref(colours.highlight), colour_ref(colours.highlight_text),
                               colour_ref(colours.gray_text)};
    SetSysColors(5, kThemeElements, values);
}

// The system colours as they were, set again at the end of the test.
class SystemColoursKept {
  public:
    SystemColoursKept() {
        for (int i = 0; i < 5; ++i) {
            kept_[i] = GetSysColor(kThemeElements[i]);
        }
    }
    ~SystemColoursKept() { SetSysColors(5, kThemeElements, kept_); }
    SystemColoursKept(const SystemColoursKept&) = delete;
    SystemColoursKept& operator=(const SystemColoursKept&) = delete;

  private:
    COLORREF kept_[5]{};
};

// Each of the three messages a theme change brings, in turn switching the
// theme on and off, in two sets of system colours (set as a theme sets them,
// before the flag changes, so only the message under test can show the new
// theme); every window repaints on its own message.
TEST(Theme, BothWindowsRepaintInTheThemeEachChangeCallsFor) {
    const SystemColoursKept restore;
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
        const SystemColours* colours;  // set first; nullptr keeps them
    } changes[] = {
        {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true, &kWhiteOnBlack},
        {WM_SYSCOLORCHANGE, 0, false, nullptr},
        {WM_THEMECHANGED, 0, true, &kBlackOnWhite},
        {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, false, nullptr},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(::testing::Message() << "message " << std::hex << change.message
                                          << (change.high_contrast ? ", contrast on" : ", off"));
        if (change.colours != nullptr) {
            set_system_colours(*change.colours);
            pump();
            ASSERT_EQ(GetSysColor(COLOR_WINDOW), colour_ref(change.colours->window));
        }
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
