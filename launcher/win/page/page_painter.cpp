#include "win/page/page_painter.h"

#include <variant>

#include "win/page/drawing.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {
namespace {

void CALLBACK paint_again(HWND hwnd, UINT, UINT_PTR timer, DWORD) {
    KillTimer(hwnd, timer);
    InvalidateRect(hwnd, nullptr, FALSE);
}

RECT to_rect(const layout::Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void draw_item(HDC dc, const draw::TextPassItem& item, std::span<const HFONT> fonts,
               const IconLookup& icons) {
    if (const auto* text = std::get_if<draw::Text>(&item)) {
        if (text->font < fonts.size()) {
            draw_text(dc, text->text, fonts[text->font], text->colour, to_rect(text->rect),
                      text_format(text->flags));
        }
    } else if (const auto* icon = std::get_if<draw::Icon>(&item)) {
        if (const IconSlot* slot = icons(icon->key)) {
            blend_icon(dc, *slot, to_rect(icon->rect));
        }
    } else if (const auto* fill = std::get_if<draw::Fill>(&item)) {
        fill_rect(dc, to_rect(fill->rect), fill->colour);
    }
}

}  // namespace

void draw_page(HDC dc, const RECT& client, const PageOperations& page, std::span<const HFONT> fonts,
               const IconLookup& icons) {
    fill_rect(dc, client, page.background);
    {
        const Graphics graphics(dc);
        for (const draw::Shape& shape : page.shapes) {
            graphics.fill(shape);
        }
    }
    SetBkMode(dc, TRANSPARENT);
    // The fonts the texts select are put back out before the caller's DC goes.
    const SelectObjectScope font(dc, fonts.empty() ? nullptr : fonts.front());
    for (const draw::TextPassItem& item : page.items) {
        draw_item(dc, item, fonts, icons);
    }
}

void paint_double_buffered(HWND hwnd,
                           const std::function<bool(HDC dc, const RECT& client)>& paint) {
    PAINTSTRUCT scope{};
    const HDC window_dc = BeginPaint(hwnd, &scope);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (window_dc != nullptr) {
        const unique_hdc memory(CreateCompatibleDC(window_dc));
        const unique_hbitmap bitmap(CreateCompatibleBitmap(window_dc, client.right, client.bottom));
        if (memory && bitmap) {
            const SelectObjectScope selected(memory.get(), bitmap.get());
            if (paint(memory.get(), client)) {
                BitBlt(window_dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
            } else {
                SetTimer(hwnd, kSkippedPaintTimer, kSkippedPaintRetryMs, paint_again);
            }
        }
    }
    EndPaint(hwnd, &scope);
}

}  // namespace talvo::win
