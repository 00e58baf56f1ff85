// The colours of the launcher's two pages, the popup and the statistics
// window, as 0xRRGGBB, in one place: each page is laid out from a palette,
// Talvo's dark one or, under a high-contrast theme, one of the system colours.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace talvo {

struct PopupColours {
    std::uint32_t background = 0;
    std::uint32_t query_box = 0;
    std::uint32_t accent = 0;  // logo tile and selection band
    std::uint32_t placeholder = 0;
    std::uint32_t text = 0;
    std::uint32_t selected_text = 0;  // the selected row's name, on the accent
    std::uint32_t on_accent = 0;      // logo letter, Enter symbol
    std::uint32_t tile_letter = 0;    // the letter on a row's tile
    std::uint32_t selected_subtitle = 0;
    std::uint32_t subtitle = 0;
    std::uint32_t hint = 0;
    std::uint32_t frame = 0;  // the window's border, where the system draws one

    bool operator==(const PopupColours&) const = default;
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

    bool operator==(const StatsColours&) const = default;
};

struct Palette {
    PopupColours popup;
    StatsColours stats;
    std::array<std::uint32_t, 6> tiles{};  // letter tiles, picked by the key's hash
    bool dark_frame = false;               // the window frame asked to be dark
    // One-pixel frames around the popup, its query box and the letter tiles,
    // and the statistics window's border; none in the dark theme.
    std::optional<std::uint32_t> frames;

    bool operator==(const Palette&) const = default;
};

// The system colours a high-contrast theme chooses, as 0xRRGGBB.
struct SystemColours {
    std::uint32_t window = 0;          // COLOR_WINDOW
    std::uint32_t window_text = 0;     // COLOR_WINDOWTEXT
    std::uint32_t highlight = 0;       // COLOR_HIGHLIGHT
    std::uint32_t highlight_text = 0;  // COLOR_HIGHLIGHTTEXT
    std::uint32_t gray_text = 0;       // COLOR_GRAYTEXT
};

// Talvo's own dark theme.
const Palette& dark_palette();

// Both pages in the theme's colours: the background, texts, bars and frames
// in the window colours, the selection, the hovered bar and the logo in the
// highlight colours.
Palette high_contrast_palette(const SystemColours& colours);

// The palette of the theme in use.
Palette choose_palette(bool high_contrast, const SystemColours& colours);

}  // namespace talvo
