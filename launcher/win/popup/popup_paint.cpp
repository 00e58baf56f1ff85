#include "win/popup/popup_paint.h"

#include <array>

#include "core/popup/popup_page.h"
#include "win/page/drawing.h"
#include "win/page/page_painter.h"
#include "win/shell/app_state.h"

namespace talvo::win {
namespace {

const IconSlot* loaded_icon(const AppState& state, std::string_view key) {
    const auto found = state.icon_cache.find(key);
    return found != state.icon_cache.end() && found->second.has_bitmap() ? &found->second : nullptr;
}

void draw_popup(HDC dc, const RECT& client, const AppState& state) {
    std::array<HFONT, layout::kFonts.size()> fonts{};
    for (std::size_t slot = 0; slot < fonts.size(); ++slot) {
        fonts[slot] = state.fonts[slot].get();
    }
    const PopupPage page = layout_popup_page(
        {state.query, state.results, state.selected, state.caret_on, state.scale}, dark_palette(),
        [&](std::string_view key) { return loaded_icon(state, key) != nullptr; },
        [&](std::string_view text, std::size_t font) {
            SelectObject(dc, fonts[font]);
            return text_width(dc, text);
        });
    draw_page(dc, client, {page.background, page.shapes, page.items}, fonts,
              [&](std::string_view key) { return loaded_icon(state, key); });
}

}  // namespace

void paint_popup(HWND hwnd) {
    paint_double_buffered(hwnd, [&](HDC dc, const RECT& client) {
        const StateSlot::Borrow state = ui_state().borrow();
        if (!state) {
            return false;  // busy in a modal loop: this frame is skipped, the next paint shows it
        }
        draw_popup(dc, client, *state);
        return true;
    });
}

}  // namespace talvo::win
