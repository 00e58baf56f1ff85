#include "core/page/palette.h"

namespace talvo {

const Palette& dark_palette() {
    static constexpr Palette kDark{
        .popup = {.background = 0x262626,
                  .query_box = 0x1C1C1C,
                  .accent = 0x357F87,
                  .placeholder = 0x555555,
                  .text = 0xF2F2F2,
                  .on_accent = 0xFFFFFF,
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
    };
    return kDark;
}

}  // namespace talvo
