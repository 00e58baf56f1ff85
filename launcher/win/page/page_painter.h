// Executes a page's drawing operations, the popup's and the statistics
// window's alike: the background, the anti-aliased shapes, then the texts,
// icons and plain rectangles in order, into one double-buffered paint.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "core/page/draw_ops.h"
#include "win/shell/app_state.h"

namespace talvo::win {

// The loaded icon of an entry, or null (then nothing is drawn for it).
using IconLookup = std::function<const IconSlot*(std::string_view key)>;

struct PageOperations {
    std::uint32_t background = 0;
    const std::vector<draw::Shape>& shapes;
    const std::vector<draw::TextPassItem>& items;
};

// `fonts` are indexed by each text's font; the font selected before is put back.
void draw_page(HDC dc, const RECT& client, const PageOperations& page, std::span<const HFONT> fonts,
               const IconLookup& icons);

// The timer of a paint skipped while the window's state was busy; no window
// that paints through paint_double_buffered uses this id for another timer.
inline constexpr UINT_PTR kSkippedPaintTimer = 0x7A1;
inline constexpr UINT kSkippedPaintRetryMs = 16;

// BeginPaint to EndPaint, drawing into an off-screen bitmap of the client area
// that is copied to the window in one go; `paint` returns false to leave the
// window as it is (its state is busy). BeginPaint has validated the window by
// then, so a skipped paint asks for another one a moment later.
void paint_double_buffered(HWND hwnd, const std::function<bool(HDC dc, const RECT& client)>& paint);

}  // namespace talvo::win
