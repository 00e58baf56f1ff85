#include "core/page/palette.h"

namespace talvo {

const Palette& dark_palette() {
    static constexpr Palette kDark{
        .popup = {.background = 0x262626,
                  .query_box = 0x1C1C1C,
                  .accent = 0x357F87,
                  .placeholder = 0x555555,
                  .text = 0xF2F2F2,
                  .selected_text = 0xF2F2F2,
                  .on_accent = 0xFFFFFF,
                  .tile_letter = 0xFFFFFF,
                  .selected_subtitle = 0xD5E9EB,
                  .subtitle = 0x9A9A9A,
                  .hint = 0x808080,
                  .frame = 0x3A3A3A},
        .stats = {.background = 0x1C1C1C,
                  .border = 0x333333,
                  .card = 0x262626,
                  .track = 0x313334,
                  .bar = 0x4FA9B3,
                  .hovered_bar = 0x9ADCE3,
                  .baseline = 0x3A3A3A,
                  .chip = 0x36393B,
                  .primary = 0xF2F2F2,
                  .secondary = 0xA3A3A3,
                  .axis = 0x787878},
        .tiles = {0x4A6FA5, 0x8E5BA8, 0x3E8E6B, 0xB06A3B, 0x9C4B5E, 0x5A6A7A},
        .dark_frame = true,
        .frames = std::nullopt,
    };
    return kDark;
}

Palette high_contrast_palette(const SystemColours& c) {
    Palette palette;
    palette.popup = {.background = c.window,
                     .query_box = c.window,
                     .accent = c.highlight,
                     .placeholder = c.gray_text,
                     .text = c.window_text,
                     .selected_text = c.highlight_text,
                     .on_accent = c.highlight_text,
                     .tile_letter = c.window_text,
                     .selected_subtitle = c.highlight_text,
                     .subtitle = c.window_text,
                     .hint = c.window_text,
                     .frame = c.window_text};
    palette.stats = {.background = c.window,
                     .border = c.window_text,
                     .card = c.window,
                     .track = c.window,
                     .bar = c.window_text,
                     .hovered_bar = c.highlight,
                     .baseline = c.window_text,
                     .chip = c.window,
                     .primary = c.window_text,
                     .secondary = c.window_text,
                     .axis = c.window_text};
    palette.tiles.fill(c.window);
    palette.dark_frame = false;
    palette.frames = c.window_text;
    return palette;
}

Palette choose_palette(bool high_contrast, const SystemColours& colours) {
    return high_contrast ? high_contrast_palette(colours) : dark_palette();
}

}  // namespace talvo
