// The popup's geometry and the small decisions of its drawing that need no
// window: placement, fonts, hit testing, letter tiles, query fitting.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/page/geometry.h"

namespace talvo::layout {

// Lengths at 96 DPI.
inline constexpr float kPopupWidth = 720;
inline constexpr float kRowsTop = 84;
inline constexpr float kRowHeight = 54;
inline constexpr float kEmptyHeight = 86;  // the edit line alone, no rows
// Above and below the rows: a 74 header, a gap of 10 and a bottom margin of 12.
inline constexpr float kRowsFrame = 74 + 10 + 12;
inline constexpr float kRowLeft = 12;
inline constexpr float kRowRight = 708;

// The query box, the logo tile at its right, and the parts of a row.
inline constexpr float kQueryBoxLeft = 12;
inline constexpr float kQueryBoxTop = 12;
inline constexpr float kQueryBoxWidth = 634;
inline constexpr float kQueryBoxHeight = 62;
inline constexpr float kQueryBoxRadius = 10;
inline constexpr float kQueryTextInsetLeft = 16;
inline constexpr float kQueryTextInsetRight = 12;
inline constexpr float kQueryTextSlack = 4;  // kept free at the right of a long query
inline constexpr float kCaretHeight = 32;
inline constexpr float kCaretGap = 1;
inline constexpr float kCaretRight = 3;  // the caret spans 1 to 3 pixels after the text
inline constexpr float kLogoLeft = 658;
inline constexpr float kLogoTop = 18;
inline constexpr float kLogoSize = 50;
inline constexpr float kLogoRadius = 13;
inline constexpr float kBandWidth = 696;
inline constexpr float kBandRadius = 10;
inline constexpr float kTileLeft = 24;
inline constexpr float kTileTop = 9;  // below the row's top
inline constexpr float kTileSize = 36;
inline constexpr float kTileRadius = 8;
inline constexpr float kTileTextGap = 14;
inline constexpr float kNameTop = 6;
inline constexpr float kNameBottom = 31;  // and the subtitle's top
inline constexpr float kSubtitleBottom = 49;
inline constexpr float kTextRight = 618;  // and the hint's left
inline constexpr float kHintRight = 692;

// 720 x 86 without rows, 720 x (96 + 54 n) with n rows, times the scale, rounded.
PixelSize popup_size(std::size_t rows, float scale);

// Top-left corner of a popup centred horizontally in the work area with its
// top at 22 % of the work area's height.
Point popup_origin(const Rect& work_area, float scale);

struct FontSpec {
    const char* face;
    float size;  // pixels at 96 DPI
    int weight;
};

// The seven popup fonts, by slot: query, name, subtitle, hint, Enter symbol,
// logo letter, tile letter.
inline constexpr std::array<FontSpec, 7> kFonts = {{
    {"Segoe UI", 30, 300},
    {"Segoe UI", 19, 400},
    {"Segoe UI", 13, 400},
    {"Segoe UI", 15, 400},
    {"Segoe UI Symbol", 20, 400},
    {"Segoe UI", 28, 700},
    {"Segoe UI", 18, 600},
}};

enum FontSlot : std::size_t {
    kQueryFont = 0,
    kNameFont = 1,
    kSubtitleFont = 2,
    kHintFont = 3,
    kSymbolFont = 4,
    kLogoFont = 5,
    kTileFont = 6,
};

// Character height of a font at a scale, in whole pixels.
std::int32_t font_pixel_height(const FontSpec& font, float scale);

// Row under a client point, if the point is on one of `rows` rows.
std::optional<std::size_t> hit_row(std::int32_t x, std::int32_t y, std::size_t rows, float scale);

// The client rectangle where a click chooses `row`, as hit_row tells it.
Rect row_hit_region(std::size_t row, float scale);

// Byte offset from which a query is shown so that it fits `available`
// pixels: whole characters are dropped from its start, so a long query shows
// its end. `width_of` measures a text in pixels; it is asked a number of
// times logarithmic in the query's length.
std::size_t visible_query_start(std::string_view query, std::int32_t available,
                                const std::function<std::int32_t(std::string_view)>& width_of);

}  // namespace talvo::layout
