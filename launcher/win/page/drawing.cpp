#include "win/page/drawing.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include "core/page/geometry.h"
#include "win/platform/text_win.h"

namespace talvo::win {
namespace gp = Gdiplus::DllExports;

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread on
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
    if (token_ != 0) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

Graphics::Graphics(HDC dc) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(dc, &graphics) == Gdiplus::Ok) {
        gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
        gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
        graphics_ = graphics;
    }
}

Graphics::~Graphics() {
    if (graphics_ != nullptr) {
        gp::GdipDeleteGraphics(static_cast<Gdiplus::GpGraphics*>(graphics_));
    }
}

void Graphics::fill_rounded_rect(float x, float y, float width, float height, float radius,
                                 std::uint32_t colour) const {
    if (graphics_ == nullptr) {
        return;
    }
    Gdiplus::GpPath* path = nullptr;
    if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path) != Gdiplus::Ok) {
        return;
    }
    const float d = 2 * radius;
    gp::GdipAddPathArc(path, x, y, d, d, 180, 90);
    gp::GdipAddPathArc(path, x + width - d, y, d, d, 270, 90);
    gp::GdipAddPathArc(path, x + width - d, y + height - d, d, d, 0, 90);
    gp::GdipAddPathArc(path, x, y + height - d, d, d, 90, 90);
    gp::GdipClosePathFigure(path);
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gp::GdipCreateSolidFill(0xFF000000u | colour, &brush) == Gdiplus::Ok) {
        gp::GdipFillPath(static_cast<Gdiplus::GpGraphics*>(graphics_), brush, path);
        gp::GdipDeleteBrush(brush);
    }
    gp::GdipDeletePath(path);
}

void Graphics::fill(const draw::Shape& shape) const {
    if (graphics_ == nullptr) {
        return;
    }
    const float x = shape.x;
    const float y = shape.y;
    const float w = shape.width;
    const float h = shape.height;
    const float d = 2 * shape.radius;
    if (shape.kind == draw::Shape::Kind::RoundedRect) {
        if (shape.radius > 0) {
            fill_rounded_rect(x, y, w, h, shape.radius, shape.colour);
            return;
        }
        Gdiplus::GpSolidFill* brush = nullptr;
        if (gp::GdipCreateSolidFill(0xFF000000u | shape.colour, &brush) == Gdiplus::Ok) {
            gp::GdipFillRectangle(static_cast<Gdiplus::GpGraphics*>(graphics_), brush, x, y, w, h);
            gp::GdipDeleteBrush(brush);
        }
        return;
    }
    Gdiplus::GpPath* path = nullptr;
    if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path) != Gdiplus::Ok) {
        return;
    }
    if (shape.kind == draw::Shape::Kind::VerticalBar) {  // rounded top, square bottom
        gp::GdipAddPathArc(path, x, y, d, d, 180, 90);
        gp::GdipAddPathArc(path, x + w - d, y, d, d, 270, 90);
        gp::GdipAddPathLine(path, x + w, y + h, x, y + h);
    } else {  // square left end, rounded right
        gp::GdipAddPathLine(path, x, y, x + w - shape.radius, y);
        gp::GdipAddPathArc(path, x + w - d, y, d, d, 270, 90);
        gp::GdipAddPathArc(path, x + w - d, y + h - d, d, d, 0, 90);
        gp::GdipAddPathLine(path, x + w - shape.radius, y + h, x, y + h);
    }
    gp::GdipClosePathFigure(path);
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gp::GdipCreateSolidFill(0xFF000000u | shape.colour, &brush) == Gdiplus::Ok) {
        gp::GdipFillPath(static_cast<Gdiplus::GpGraphics*>(graphics_), brush, path);
        gp::GdipDeleteBrush(brush);
    }
    gp::GdipDeletePath(path);
}

UINT text_format(unsigned flags) {
    UINT format = DT_LEFT;
    format |= (flags & draw::kCenter) != 0 ? DT_CENTER : 0;
    format |= (flags & draw::kRight) != 0 ? DT_RIGHT : 0;
    format |= (flags & draw::kVCenter) != 0 ? DT_VCENTER : 0;
    format |= (flags & draw::kEndEllipsis) != 0 ? DT_END_ELLIPSIS : 0;
    format |= (flags & draw::kPathEllipsis) != 0 ? DT_PATH_ELLIPSIS : 0;
    return format;
}

void draw_text(HDC dc, std::string_view text, HFONT font, std::uint32_t colour, RECT rect,
               UINT format) {
    if (text.empty()) {
        return;
    }
    SelectObject(dc, font);
    SetTextColor(dc, rgb(colour));
    std::wstring wide = widen(text);
    DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &rect,
              format | DT_SINGLELINE | DT_NOPREFIX);
}

std::int32_t text_width(HDC dc, std::string_view text) {
    const std::wstring wide = widen(text);
    SIZE size{};
    if (!GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size)) {
        return 0;
    }
    return size.cx;
}

unique_hfont create_font(float pixel_size, int weight, std::string_view face) {
    LOGFONTW font{};
    font.lfHeight = -round_saturated(pixel_size);
    font.lfWeight = weight;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring wide = widen(face);
    wide.copy(font.lfFaceName, LF_FACESIZE - 1);  // at most 31 units, then the zero
    return unique_hfont(CreateFontIndirectW(&font));
}

PopupFonts create_popup_fonts(float scale) {
    PopupFonts fonts;
    for (std::size_t slot = 0; slot < fonts.size(); ++slot) {
        const layout::FontSpec& spec = layout::kFonts[slot];
        fonts[slot] = create_font(spec.size * scale, spec.weight, spec.face);
    }
    return fonts;
}

void fill_rect(HDC dc, const RECT& rect, std::uint32_t colour) {
    const unique_hbrush brush(CreateSolidBrush(rgb(colour)));
    FillRect(dc, &rect, brush.get());
}

void blend_icon(HDC dc, const IconSlot& icon, const RECT& destination) {
    const unique_hdc source(CreateCompatibleDC(dc));
    if (!source) {
        return;
    }
    const SelectObjectScope selected(source.get(), icon.bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, destination.left, destination.top, destination.right - destination.left,
               destination.bottom - destination.top, source.get(), 0, 0, icon.width, icon.height,
               blend);
}

}  // namespace talvo::win
