// Painting of the popup: its page, laid out by the core, is drawn off screen
// and copied in one BitBlt, so nothing flickers and the background is never
// erased apart.
#include <array>

#include "core/popup/popup_page.h"
#include "win/page/drawing.h"
#include "win/page/page_painter.h"
#include "win/popup/popup_window.h"

namespace talvo::win {
namespace {

const IconSlot* loaded_icon(const IconStore* icons, std::string_view key) {
    if (icons == nullptr) {
        return nullptr;  // busy: letter tiles this time
    }
    const auto found = icons->cache.find(key);
    return found != icons->cache.end() && found->second.has_bitmap() ? &found->second : nullptr;
}

void draw_popup(HDC dc, const RECT& client, const PopupState& popup, const Palette& palette,
                const IconStore* icons) {
    std::array<HFONT, layout::kFonts.size()> fonts{};
    for (std::size_t slot = 0; slot < fonts.size(); ++slot) {
        fonts[slot] = popup.fonts[slot].get();
    }
    const PopupPage page = layout_popup_page(
        {popup.query, popup.results, popup.selected, popup.caret_on, popup.scale}, palette,
        [&](std::string_view key) { return loaded_icon(icons, key) != nullptr; },
        [&](std::string_view text, std::size_t font) {
            SelectObject(dc, fonts[font]);
            return text_width(dc, text);
        });
    draw_page(dc, client, {page.background, page.shapes, page.items}, fonts,
              [&](std::string_view key) { return loaded_icon(icons, key); });
}

}  // namespace

void PopupWindow::on_paint() {
    paint_double_buffered(hwnd_, [&](HDC dc, const RECT& client) {
        const BorrowSlot<PopupState>::Borrow popup = ui_.popup.borrow();
        if (!popup) {
            return false;  // busy in a nested loop: painted again a moment later
        }
        const BorrowSlot<IconStore>::Borrow icons = ui_.icons.borrow();
        draw_popup(dc, client, *popup, ui_.theme.palette(), icons ? &*icons : nullptr);
        return true;
    });
}

}  // namespace talvo::win
