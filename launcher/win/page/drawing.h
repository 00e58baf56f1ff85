// Drawing operations shared by the launcher's windows: anti-aliased rounded
// rectangles through the GDI+ flat API, UTF-8 text through GDI, and fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "core/page/draw_ops.h"
#include "core/popup/popup_layout.h"
#include "win/platform/unique_resource.h"
#include "win/shell/app_state.h"

namespace talvo::win {

// 0xRRGGBB as a GDI colour.
constexpr COLORREF rgb(std::uint32_t hex) {
    return RGB((hex >> 16) & 0xFF, (hex >> 8) & 0xFF, hex & 0xFF);
}

// Starts GDI+ for the life of the object.
class GdiplusSession {
  public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

  private:
    ULONG_PTR token_ = 0;
};

// A GDI+ graphics object on a device context, anti-aliased, half-pixel offset.
class Graphics {
  public:
    explicit Graphics(HDC dc);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // Four 90-degree arcs of diameter 2 x radius, closed and filled; colour 0xRRGGBB, opaque.
    void fill_rounded_rect(float x, float y, float width, float height, float radius,
                           std::uint32_t colour) const;

    // A shape of a page: rounded rectangle (a plain one for radius 0) or bar.
    void fill(const draw::Shape& shape) const;

  private:
    void* graphics_ = nullptr;
};

// DrawTextW format flags for a page text's alignment.
UINT text_format(unsigned flags);

// Nothing for an empty text; otherwise one line, no prefix processing.
void draw_text(HDC dc, std::string_view text, HFONT font, std::uint32_t colour, RECT rect,
               UINT format);

// Width in the font currently selected; 0 if the call fails.
std::int32_t text_width(HDC dc, std::string_view text);

// `pixel_size` is the scaled character height: lfHeight = -round(pixel_size).
unique_hfont create_font(float pixel_size, int weight, std::string_view face);

PopupFonts create_popup_fonts(float scale);

void fill_rect(HDC dc, const RECT& rect, std::uint32_t colour);

// Alpha-blends a premultiplied bitmap into a destination square.
void blend_icon(HDC dc, const IconSlot& icon, const RECT& destination);

}  // namespace talvo::win
