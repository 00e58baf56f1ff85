// The colours of the launcher's two pages, the popup and the statistics
// window, as 0xRRGGBB, in one place: each page is laid out from a palette, so
// another one (a high-contrast theme's) can stand in for the dark one.
#pragma once

#include <array>
#include <cstdint>

namespace talvo {

struct PopupColours {
    std::uint32_t background = 0;
    std::uint32_t query_box = 0;
    std::uint32_t accent = 0;  // logo tile and selection band
    std::uint32_t placeholder = 0;
    std::uint32_t text = 0;
    std::uint32_t on_accent = 0;  // logo letter, Enter symbol, letters on tiles
    std::uint32_t selected_subtitle = 0;
    std::uint32_t subtitle = 0;
    std::uint32_t hint = 0;
    std::uint32_t frame = 0;  // the window's border, where the system draws one
};

struct StatsColours {
    std::uint32_t background = 0;
    std::uint32_t border = 0;
    std::uint32_t card = 0;
    std::uint32_t track = 0;
    std::uint32_t bar = 0;
    std::uint32_t hovered_bar = 0;
    std::uint32_t baseline = 0;
    std::uint32_t chip = 0;
    std::uint32_t primary = 0;
    std::uint32_t secondary = 0;
    std::uint32_t axis = 0;
};

struct Palette {
    PopupColours popup;
    StatsColours stats;
    std::array<std::uint32_t, 6> tiles{};  // letter tiles, picked by the key's hash
    bool dark_frame = false;               // the window frame asked to be dark
};

// Talvo's own dark theme.
const Palette& dark_palette();

}  // namespace talvo
