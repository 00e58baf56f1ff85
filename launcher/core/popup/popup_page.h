// The popup's page as drawing operations, as the statistics page is: the
// query line (or its placeholder) and its caret, the logo tile, and each row
// with its icon or letter tile, name, subtitle and hint, at the popup's scale
// and in a palette's colours; and where each row answers a click. The window
// only executes them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/page/draw_ops.h"
#include "core/page/palette.h"

namespace talvo {

struct PopupPageView {
    std::string_view query;
    const std::vector<CatalogEntry>& rows;
    std::size_t selected = 0;
    bool caret_on = true;
    float scale = 1.0f;
};

struct PopupPage {
    std::uint32_t background = 0;           // the whole client area, first
    std::vector<draw::Shape> shapes;        // first pass: anti-aliased rounded shapes
    std::vector<draw::TextPassItem> items;  // second pass: texts, icons and the caret, in order
    std::vector<layout::Rect> row_regions;  // where a click chooses each row
};

// The fonts of the texts are the popup's font slots (layout::kQueryFont...).
PopupPage layout_popup_page(const PopupPageView& view, const Palette& palette,
                            const draw::HasIcon& has_icon, const draw::TextWidth& text_width);

}  // namespace talvo
