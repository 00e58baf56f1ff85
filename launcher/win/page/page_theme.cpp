#include "win/page/page_theme.h"

#include <windows.h>

namespace talvo::win {
namespace {

std::uint32_t rgb_of(int system_colour) {
    const COLORREF colour = GetSysColor(system_colour);
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

}  // namespace

bool system_high_contrast() {
    HIGHCONTRASTW high_contrast{};
    high_contrast.cbSize = sizeof high_contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof high_contrast, &high_contrast, 0) &&
           (high_contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

SystemColours system_colours() {
    return {.window = rgb_of(COLOR_WINDOW),
            .window_text = rgb_of(COLOR_WINDOWTEXT),
            .highlight = rgb_of(COLOR_HIGHLIGHT),
            .highlight_text = rgb_of(COLOR_HIGHLIGHTTEXT),
            .gray_text = rgb_of(COLOR_GRAYTEXT)};
}

PageTheme::PageTheme(HighContrastProbe probe)
    : probe_(probe), palette_(choose_palette(probe_(), system_colours())) {}

void PageTheme::reread() {
    palette_ = choose_palette(probe_(), system_colours());
}

}  // namespace talvo::win
